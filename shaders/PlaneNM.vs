#version 330 core
// Ground plane, geometry pass. A0 position, A1 normal, A2 tangent, all in world space; "m" is
// the camera's view-projection, "nm" its view matrix. The texture coordinates are the world x, z
// scaled by "ts" (texture repeats per unit; negative flips the axes). Hands the fragment stage
// the view-space frame of the normal map: tangent along increasing s, bitangent along
// increasing t, normal.
// gl_Position must stay the same expression as in Plane.vs: the forward pass meets this surface
// with depth test EQUAL.
in vec3 A0;
in vec3 A1;
in vec3 A2;
uniform mat4 m;
uniform mat4 nm;
uniform float ts;
invariant gl_Position;
out vec3 normalV;
out vec3 tangentV;
out vec3 bitangentV;
out vec2 uv;

void main()
{
    gl_Position = m * vec4(A0, 1.0);

    mat3 toView = mat3(nm);
    // Cofactor matrix: transforms normals correctly under any scale, without a division.
    mat3 normalToView = mat3(cross(toView[1], toView[2]), cross(toView[2], toView[0]),
                             cross(toView[0], toView[1]));
    float flip = ts < 0.0 ? -1.0 : 1.0;
    normalV = normalToView * A1;
    tangentV = toView * (A2 * flip);
    bitangentV = toView * (cross(A2, A1) * flip);
    uv = A0.xz * ts;
}
