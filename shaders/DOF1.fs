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

// The own layer's circle comes from halfColor, the near layer's reach from the input's alpha.
vec3 blurLine(sampler2DRect image, vec2 p, vec2 dir)
{
    vec2 lo = vec2(0.5);
    vec2 hi = vec2(textureSize(image)) - 0.5;
    float limit = kMaxRadiusFraction * length(vec2(textureSize(image)));
    vec3 centre = texture(image, p).rgb;
    float coc = texture(S, p).a;
    float radius = min(abs(coc), limit);

    vec3 own = centre;
    if (radius >= 0.5) {
        int count = int(min(ceil(radius), float(kMaxSamples)));
        vec3 sum = vec3(0.0);
        float weightSum = 0.0;
        for (int i = 0; i < count; ++i) {
            float d = (float(i) + 0.5) / float(count) * radius;
            vec4 s = texture(image, clamp(p + dir * d, lo, hi));
            float w = s.a < coc ? clamp(abs(s.a) - d + 1.0, 0.0, 1.0) : 1.0;
            sum += s.rgb * w;
            weightSum += w;
        }
        if (weightSum > 0.0)
            own = sum / weightSum;
    }

    float spacing = (limit - radius) / float(kNearSamples);
    if (spacing < 0.5)
        return own;
    // Sparse samples along a line would draw the near layer in stripes; an offset that changes
    // from pixel to pixel turns the stripes into a fine grain the other passes smooth away.
    float jitter = interleavedGradientNoise(p + vec2(37.0, 17.0));
    vec3 nearLight = vec3(0.0);
    float cover = 0.0;
    for (int i = 0; i < kNearSamples; ++i) {
        float d = radius + (float(i) + jitter) * spacing;
        vec4 s = texture(image, clamp(p + dir * d, lo, hi));
        float reach = min(-s.a, limit);
        if (s.a < min(coc, 0.0) && reach >= d) {
            float share = spacing / reach;
            nearLight += s.rgb * share;
            cover += share;
        }
    }
    return cover > 0.0 ? mix(own, nearLight / cover, min(cover, 1.0)) : own;
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    vec3 rhombus01 = blurLine(S0, p, step1);
    vec3 rhombi02And12 = blurLine(S1, p, step2);
    O0 = vec4((rhombus01 + 2.0 * rhombi02And12) * (1.0 / 3.0), 1.0);
}
