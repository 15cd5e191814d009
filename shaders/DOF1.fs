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

#include "common/depth_of_field.glsl"

// The own layers of both lines in one loop: they gather within the same circle (halfColor's),
// so their samples lie at the same distances, and a block runs the turns of its widest circle
// once, not twice. Each line starts from its input's texel here.
void ownLayers(vec2 p, float coc, float radius, out vec3 own01, out vec3 own02And12)
{
    // At the texel's centre a filtered read is the texel itself: fetched, without the filter.
    own01 = texelFetch(S0, ivec2(p)).rgb;
    own02And12 = texelFetch(S1, ivec2(p)).rgb;
    // Under no circle of its own the pixel is itself, as halfColor holds it. The first pass's
    // texel here also holds the near layer it found along its line; kept whole here, that line
    // would stand in the hexagon as a bright seam, where around it the near layer below spreads
    // the same light by its share.
    if (radius < 0.5) {
        own01 = texelFetch(S, ivec2(p)).rgb;
        own02And12 = own01;
        return;
    }
    int count = int(min(ceil(radius * kSamplesPerPixel), float(kMaxSamples)));
    // Samples at the same distances in every pixel alias against the detail they step over:
    // stripes through every out-of-focus disc. An offset that changes from pixel to pixel
    // turns them into a fine grain that the second pass and the upsampling average away.
    // Under a small circle the samples lie a pixel apart or closer and step over nothing: there
    // the offset would only be grain, along a slightly defocused silhouette a fringe of hairs.
    float jitter = mix(0.5, interleavedGradientNoise(p + vec2(11.0, 53.0)), smoothstep(kSteadyRadius, 2.0 * kSteadyRadius, radius));
    vec4 sum01 = vec4(0.0);
    vec4 sum02And12 = vec4(0.0);
    for (int i = 0; i < count; ++i) {
        float d = (float(i) + jitter) / float(count) * radius;
        sum01 += ownSample(readAt(S0, p + step1 * d), d, coc);
        sum02And12 += ownSample(readAt(S1, p + step2 * d), d, coc);
    }
    if (sum01.a > 0.0)
        own01 = sum01.rgb / sum01.a;
    if (sum02And12.a > 0.0)
        own02And12 = sum02And12.rgb / sum02And12.a;
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    // Both lines gather within halfColor's circle, read once.
    float coc = texelFetch(S, ivec2(p)).a;
    float limit = kMaxRadiusFraction * length(vec2(textureSize(S0)));
    float radius = min(abs(coc), limit);
    vec3 own01, own02And12;
    ownLayers(p, coc, radius, own01, own02And12);
    vec3 rhombus01 = nearLayer(S0, p, vec2(37.0, 17.0), step1, coc, radius, limit, own01).rgb;
    vec3 rhombi02And12 = nearLayer(S1, p, vec2(37.0, 17.0), step2, coc, radius, limit, own02And12).rgb;
    O0 = vec4((rhombus01 + 2.0 * rhombi02And12) * (1.0 / 3.0), 1.0);
}
