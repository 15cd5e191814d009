#version 330 core
// Half-size copy of sceneColor ("S", unit 2, full-size rectangle texture) for the depth of
// field. Alpha: the signed circle of confusion of the nearest of the 2x2 block (the most
// negative), converted from full-size to half-size pixels. Colour: the mean of the block
// weighted by how close each texel's circle is to that one, so a block that straddles a sharp
// edge takes the colour of the side it is labelled with and a sharp object's colour does not
// leak into the blurred background behind it.
uniform sampler2DRect S;
out vec4 O0;

// The brightest light any pass carries: below the half-float maximum (65504), and every later
// pass averages rather than sums, so nothing downstream can overflow to infinity.
const float kMaxLight = 60000.0;

vec4 finiteTexel(ivec2 p)
{
    vec4 v = texelFetch(S, p);
    v = mix(v, vec4(0.0), isnan(v));
    return clamp(v, vec4(0.0, 0.0, 0.0, -kMaxLight), vec4(kMaxLight));
}

// Full weight within one pixel of circle, falling to a trace for a different depth layer.
float layerWeight(float coc, float chosen)
{
    return max(1.0 - 0.5 * abs(coc - chosen), 0.02);
}

void main()
{
    ivec2 last = textureSize(S) - 1;
    ivec2 p = ivec2(gl_FragCoord.xy) * 2;
    vec4 t00 = finiteTexel(min(p, last));
    vec4 t10 = finiteTexel(min(p + ivec2(1, 0), last));
    vec4 t01 = finiteTexel(min(p + ivec2(0, 1), last));
    vec4 t11 = finiteTexel(min(p + ivec2(1, 1), last));
    float nearestCoc = min(min(t00.a, t10.a), min(t01.a, t11.a));
    vec4 w = vec4(layerWeight(t00.a, nearestCoc), layerWeight(t10.a, nearestCoc),
                  layerWeight(t01.a, nearestCoc), layerWeight(t11.a, nearestCoc));
    vec3 colour = (t00.rgb * w.x + t10.rgb * w.y + t01.rgb * w.z + t11.rgb * w.w) / (w.x + w.y + w.z + w.w);
    O0 = vec4(colour, nearestCoc * 0.5);
}
