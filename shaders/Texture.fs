#version 330 core
// Plain copy of a rectangle texture ("S", any unit): the output pixel at gl_FragCoord reads the
// texel coordinate gl_FragCoord * "s" + "b" (scale and bias in texels), bilinear where the
// texture filters linearly.
uniform sampler2DRect S;
uniform vec2 s;
uniform vec2 b;
out vec4 O0;

void main()
{
    O0 = texture(S, gl_FragCoord.xy * s + b);
}
