#version 330 core
// Screen-space light: the shared screen triangle (A0) over the light buffers. Hands the fragment
// stage its pixel's normalised device position (-1 to 1 on both axes) to build the view ray.
in vec2 A0;
out vec2 ndc;

void main()
{
    ndc = A0;
    gl_Position = vec4(A0, 0.0, 1.0);
}
