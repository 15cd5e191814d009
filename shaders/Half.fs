#version 330 core
// Half-size copy of sceneColor ("S", unit 2, full-size rectangle texture) for the depth of
// field. Alpha: the signed circle of confusion of the nearest of the 2x2 block (the most
// negative), converted from full-size to half-size pixels. Colour: the mean of the block
// weighted by how close each texel's circle is to that one, so a block that straddles a sharp
// edge takes the colour of the side it is labelled with and a sharp object's colour does not
// leak into the blurred background behind it.
uniform sampler2DRect S;
out vec4 O0;

#include "common/half_size_colour.glsl"

void main()
{
    ivec2 last = textureSize(S) - 1;
    ivec2 p = ivec2(gl_FragCoord.xy) * 2;
    vec4 colour = halfSizeColour(texelFetch(S, min(p, last)), texelFetch(S, min(p + ivec2(1, 0), last)),
                                 texelFetch(S, min(p + ivec2(0, 1), last)), texelFetch(S, min(p + ivec2(1, 1), last)));
    O0 = vec4(colour.rgb, colour.a * 0.5);
}
