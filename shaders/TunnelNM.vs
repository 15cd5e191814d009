#version 330 core
#extension GL_ARB_gpu_shader_fp64 : require
// Tunnel, geometry pass. A0 is a tube vertex: x, y on the unit ring, z from 0.001 (the ring at
// the camera) to about -1 (the far end), w the place around the ring from 0 to 1. The tube is
// built in view space ("mp" is the projection alone): radius "rad", stretched to "len" units
// down -z, its axis bent sideways with depth by "a" (quadratic) and "q" (cubic). Hands the
// fragment stage the view-space tangent frame and the scratch map coordinates, which scroll
// along the tube with the double-precision "time" (seconds).
// The tube's place is common/tunnel_tube.glsl's, as Tunnel.vs has it: the forward pass meets
// this surface with depth test EQUAL.
in vec4 A0;
uniform double time;
uniform mat4 mp;
invariant gl_Position;
out vec3 normalV;
out vec3 tangentV;
out vec3 bitangentV;
out vec2 uv;

#include "common/tunnel_tube.glsl"

void main()
{
    gl_Position = mp * vec4(tunnelPosition(A0), 1.0);

    float depth = -A0.z;
    vec2 axisSlope = (a * (2.0 * depth) + q * (3.0 * depth * depth)) * (len * kBend);
    vec3 alongTube = normalize(vec3(axisSlope, -len));
    vec3 aroundRing = normalize(vec3(-A0.y, A0.x, 0.0));
    tangentV = aroundRing;
    bitangentV = alongTube;
    normalV = normalize(cross(aroundRing, alongTube));

    float tileLength = 6.2831853 * rad / kTilesAround;
    float scroll = float(fract(time * kScrollRate));
    uv = vec2(A0.w * kTilesAround, depth * len / tileLength - scroll);
}
