#version 330 core
// Depth of field, second pass, at half size. Blurs dofBlurA ("S0", unit 4: the blur along
// step0) along "step1", and dofBlurB ("S1", unit 5: the blurs along step0 and step1 summed)
// along "step2"; the two results hold the three rhombi of the hexagonal aperture, so their sum
// over three is the depth-of-field image (linear rgb into dofResult). halfColor ("S", unit 3)
// supplies each sample's signed circle of confusion (alpha, half-size pixels) for the same
// gather rule as the first pass: within this pixel's circle, nearer samples only where their
// own circle reaches, samples half a step off the pixel.
uniform sampler2DRect S0;
uniform sampler2DRect S1;
uniform vec2 step1;
uniform vec2 step2;
uniform sampler2DRect S;
out vec4 O0;

const float kMaxRadiusFraction = 0.025;
const int kMaxSamples = 16;

float blurRadius(float coc)
{
    float limit = kMaxRadiusFraction * length(vec2(textureSize(S)));
    return min(abs(coc), limit);
}

// Mean of blurred along dir over [0, radius], each sample weighted by whether it can be seen
// through this pixel's circle of confusion; the centre value where nothing counts.
vec3 gatherLine(sampler2DRect blurred, vec2 p, vec2 dir, float radius, float coc, vec3 centre)
{
    if (radius < 0.5)
        return centre;
    vec2 lo = vec2(0.5);
    vec2 hi = vec2(textureSize(S)) - 0.5;
    int count = int(min(ceil(radius), float(kMaxSamples)));
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    for (int i = 0; i < count; ++i) {
        float d = (float(i) + 0.5) / float(count) * radius;
        vec2 q = clamp(p + dir * d, lo, hi);
        float sampleCoc = texture(S, q).a;
        float w = sampleCoc < coc ? clamp(abs(sampleCoc) - d + 1.0, 0.0, 1.0) : 1.0;
        sum += texture(blurred, q).rgb * w;
        weightSum += w;
    }
    return weightSum > 0.0 ? sum / weightSum : centre;
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    float coc = texture(S, p).a;
    float radius = blurRadius(coc);
    vec3 rhombus01 = gatherLine(S0, p, step1, radius, coc, texture(S0, p).rgb);
    vec3 rhombi02And12 = gatherLine(S1, p, step2, radius, coc, texture(S1, p).rgb);
    O0 = vec4((rhombus01 + rhombi02And12) * (1.0 / 3.0), 1.0);
}
