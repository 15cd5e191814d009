#version 330 core
// Ground plane, forward pass. A0 world position, "m" the camera's view-projection; the colour
// texture coordinates are world x, z scaled by "ts", as in PlaneNM.vs.
// gl_Position must stay the same expression as in PlaneNM.vs: this pass meets the geometry
// pass's surface with depth test EQUAL.
in vec3 A0;
uniform mat4 m;
uniform float ts;
invariant gl_Position;
out vec2 uv;

void main()
{
    gl_Position = m * vec4(A0, 1.0);
    uv = A0.xz * ts;
}
