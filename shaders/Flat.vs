#version 330 core
// Full-screen pass: puts the shared screen triangle (clip-space x, y at A0) over the viewport.
// The fragment stages of these passes address their rectangle textures through gl_FragCoord,
// in texels of the target they write.
in vec2 A0;

void main()
{
    gl_Position = vec4(A0, 0.0, 1.0);
}
