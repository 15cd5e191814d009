// What the two depth-of-field passes (DOF0.fs, DOF1.fs) gather by: the same reach, sample
// counts and own-layer rule, so the second pass completes the hexagon the first began. Circles
// are in half-size pixels, as halfColor's alpha holds them.

// Largest blur radius, as a fraction of the half-size image's diagonal (about 55 full-size
// pixels at 1920x1080); beyond it the samples would be too sparse.
const float kMaxRadiusFraction = 0.025;
const int kMaxSamples = 16;
const int kNearSamples = 8;
// Own-layer circles up to this radius (half-size pixels) are sampled at the same distances in
// every pixel.
const float kSteadyRadius = 4.0;
// Own-layer samples per half-size pixel of the circle's radius. At half a sample per pixel
// (filtered reads two pixels apart) a small bright source under a wide circle opened into a
// disc with stripes through it; with reads a pixel and a third apart, offset from pixel to
// pixel, the disc is even, and the carousel's wide blur costs llvmpipe a tenth more.
const float kSamplesPerPixel = 0.75;
// Share of this pixel's circle below which a nearer sample behind the focus counts as another
// surface's.
const float kLeastSharedCircle = 0.75;

#include "common/interleaved_gradient_noise.glsl"

// Filtered, at a point kept inside the image.
vec4 readAt(sampler2DRect image, vec2 q)
{
    return texture(image, clamp(q, vec2(0.5), vec2(textureSize(image)) - 0.5));
}

// One sample of the own layer, d pixels out: full weight, or for a nearer sample as far as its
// own circle reaches this pixel, with half a pixel of edge. The weighted colour in rgb, the
// weight in alpha. A nearer sample behind the focus reaches by its own circle only where that
// is nearly this pixel's: the filtered read of a texel pair that straddles a sharp silhouette
// against a blurred background carries a circle halfway between the two, and even at a
// fraction of its reach it smears the silhouette's rim over the background, in hairs where the
// samples' distances change from pixel to pixel; along one surface the circles of neighbouring
// samples are alike and each reaches its full circle.
vec4 ownSample(vec4 s, float d, float coc)
{
    float share = s.a / max(coc, 1e-3);
    float reach = s.a < 0.0 ? -s.a : s.a * smoothstep(kLeastSharedCircle, 0.95, share);
    float w = s.a < coc ? clamp(reach - d + 0.5, 0.0, 1.0) : 1.0;
    return vec4(s.rgb * w, w);
}

// The near layer along one line of `image` over the own layer "own": rgb colour, and alpha the
// circle the line carries on (DOF0.fs tells the rule), which the second pass does without.
// `noiseOffset` moves the jitter's pattern, so that each pass's lines sample other distances.
vec4 nearLayer(sampler2DRect image, vec2 p, vec2 noiseOffset, vec2 dir, float coc, float radius, float limit, vec3 own)
{
    float spacing = (limit - radius) / float(kNearSamples);
    if (spacing < 0.5)
        return vec4(own, coc);
    // Sparse samples along a line would draw the near layer in stripes; an offset that changes
    // from pixel to pixel turns the stripes into a fine grain the other passes smooth away.
    float jitter = interleavedGradientNoise(p + noiseOffset);
    vec3 nearLight = vec3(0.0);
    float nearCoc = 0.0;
    float cover = 0.0;
    for (int i = 0; i < kNearSamples; ++i) {
        float d = radius + (float(i) + jitter) * spacing;
        vec4 s = readAt(image, p + dir * d);
        float reach = min(-s.a, limit);
        if (s.a < min(coc, 0.0) && reach >= d) {
            float share = spacing / reach;
            nearLight += s.rgb * share;
            nearCoc += s.a * share;
            cover += share;
        }
    }
    if (cover <= 0.0)
        return vec4(own, coc);
    // Alpha from here on is the reach of the near layer that covers this pixel, so that the
    // second pass spreads it by its full circle; the colour already holds how much it covers.
    return vec4(mix(own, nearLight / cover, min(cover, 1.0)), min(nearCoc / cover, coc));
}
