#version 330 core
// Half-size copy of sceneColor ("S", unit 2, full-size rectangle texture) for the depth of
// field. Colour: the mean of each 2x2 block, linear. Alpha: the signed circle of confusion of
// the nearest of the four (the most negative), converted from full-size to half-size pixels, so
// that a sharp edge in front of a blurred background stays sharp. Non-finite values become 0.
uniform sampler2DRect S;
out vec4 O0;

vec4 finiteTexel(ivec2 p)
{
    vec4 v = texelFetch(S, p);
    v = mix(v, vec4(0.0), isnan(v));
    return clamp(v, vec4(0.0, 0.0, 0.0, -60000.0), vec4(60000.0));
}

void main()
{
    ivec2 last = textureSize(S) - 1;
    ivec2 p = ivec2(gl_FragCoord.xy) * 2;
    vec4 t00 = finiteTexel(min(p, last));
    vec4 t10 = finiteTexel(min(p + ivec2(1, 0), last));
    vec4 t01 = finiteTexel(min(p + ivec2(0, 1), last));
    vec4 t11 = finiteTexel(min(p + ivec2(1, 1), last));
    vec3 colour = (t00.rgb + t10.rgb + t01.rgb + t11.rgb) * 0.25;
    float nearestCoc = min(min(t00.a, t10.a), min(t01.a, t11.a));
    O0 = vec4(colour, nearestCoc * 0.5);
}
