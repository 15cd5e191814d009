#version 330 core
// Depth of field, second pass, at half size. Blurs dofBlurA ("S0", unit 4: the blur along
// step0) along "step1", and dofBlurB ("S1", unit 5: the mean of the blurs along step0 and
// step1) along "step2"; the results hold the three rhombi of the hexagonal aperture, and their
// mean is the depth-of-field image (linear rgb into dofResult). The gather follows the first
// pass's rule: the own layer within the pixel's circle (halfColor's alpha, "S", unit 3), nearer
// samples only where their circles reach, then a near layer of foreground samples scattering
// over this pixel, each reaching as far as the first pass's alpha says.
uniform sampler2DRect S0;
uniform sampler2DRect S1;
uniform vec2 step1;
uniform vec2 step2;
uniform sampler2DRect S;
out vec4 O0;

// Keep equal to DOF0.fs.
const float kMaxRadiusFraction = 0.025;
const int kMaxSamples = 16;
const int kNearSamples = 8;

// A value in [0, 1) per pixel whose neighbours differ as much as possible.
float interleavedGradientNoise(vec2 p)
{
    return fract(52.9829189 * fract(dot(floor(p), vec2(0.06711056, 0.00583715))));
}

// One line's running sums: the own layer's weighted colour, and the near layer's light and
// cover.
struct Line {
    vec3 sum;
    float weightSum;
    vec3 nearLight;
    float cover;
};

// Adds sample "s" at distance "d" along the line to the own layer.
void gatherOwn(inout Line line, vec4 s, float d, float coc)
{
    float w = s.a < coc ? clamp(abs(s.a) - d + 1.0, 0.0, 1.0) : 1.0;
    line.sum += s.rgb * w;
    line.weightSum += w;
}

// Adds sample "s" at distance "d" along the line to the near layer.
void gatherNear(inout Line line, vec4 s, float d, float coc, float limit, float spacing)
{
    float reach = min(-s.a, limit);
    if (s.a < min(coc, 0.0) && reach >= d) {
        float share = spacing / reach;
        line.nearLight += s.rgb * share;
        line.cover += share;
    }
}

vec3 lineResult(Line line, vec3 centre)
{
    vec3 own = line.weightSum > 0.0 ? line.sum / line.weightSum : centre;
    return line.cover > 0.0 ? mix(own, line.nearLight / line.cover, min(line.cover, 1.0)) : own;
}

// The own layer's circle comes from halfColor, the near layer's reach from the input's alpha.
// Both lines share the circle, hence the sample distances, and take their samples in one loop,
// as in DOF0.fs.
void main()
{
    vec2 p = gl_FragCoord.xy;
    ivec2 home = ivec2(p);
    vec2 lo = vec2(0.5);
    vec2 hi = vec2(textureSize(S0)) - 0.5;
    float limit = kMaxRadiusFraction * length(vec2(textureSize(S0)));
    float coc = texelFetch(S, home).a;
    float radius = min(abs(coc), limit);
    int count = radius >= 0.5 ? int(min(ceil(radius), float(kMaxSamples))) : 0;
    float spacing = (limit - radius) / float(kNearSamples);
    int nearCount = spacing < 0.5 ? 0 : kNearSamples;
    // Sparse samples along a line would draw the near layer in stripes; an offset that changes
    // from pixel to pixel turns the stripes into a fine grain the other passes smooth away.
    float jitter = interleavedGradientNoise(p + vec2(37.0, 17.0));

    Line line0 = Line(vec3(0.0), 0.0, vec3(0.0), 0.0);
    Line line1 = line0;
    for (int i = 0; i < count; ++i) {
        float d = (float(i) + 0.5) / float(count) * radius;
        gatherOwn(line0, texture(S0, clamp(p + step1 * d, lo, hi)), d, coc);
        gatherOwn(line1, texture(S1, clamp(p + step2 * d, lo, hi)), d, coc);
    }
    for (int i = 0; i < nearCount; ++i) {
        float d = radius + (float(i) + jitter) * spacing;
        gatherNear(line0, texture(S0, clamp(p + step1 * d, lo, hi)), d, coc, limit, spacing);
        gatherNear(line1, texture(S1, clamp(p + step2 * d, lo, hi)), d, coc, limit, spacing);
    }
    // At the pixel's own texel centre a filtered read returns that texel alone.
    vec3 rhombus01 = lineResult(line0, texelFetch(S0, home).rgb);
    vec3 rhombi02And12 = lineResult(line1, texelFetch(S1, home).rgb);
    O0 = vec4((rhombus01 + 2.0 * rhombi02And12) * (1.0 / 3.0), 1.0);
}
