#version 330 core
// Depth of field, first of two passes, at half size: a hexagonal aperture made of three rhombi,
// each the sweep of the blur along two of the three directions "step0", "step1", "step2"
// (unit vectors 120 degrees apart). This pass blurs halfColor ("S", unit 3; rgb linear colour,
// alpha the signed circle of confusion in half-size pixels, negative in front of the focus)
// along "step0" into O0, and writes the mean of that and the blur along "step1" into O1; the
// second pass completes the hexagon.
//
// Each line is two layers. The pixel's own layer gathers within its own circle; a nearer sample
// counts there only where its own circle reaches this pixel, so a sharp foreground neither
// smears nor bleeds into the blurred background behind it. The near layer then looks further,
// up to the largest blur, for samples in front of the focus whose circles reach this pixel
// (scattering as a gather): each covers the pixel with the share of its light that lands this
// far out, and the pixel is covered by the near layer by that much. So a defocused foreground
// spreads over whatever lies behind it, sharp or not. Alpha carries each line's circle on to
// the second pass, replaced by the near layer's wherever that covers the pixel at all, so the
// spread grows along the second direction by its full circle.
uniform sampler2DRect S;
uniform vec2 step0;
uniform vec2 step1;
out vec4 O0;
out vec4 O1;

#include "common/depth_of_field.glsl"

// The own layer along both lines in one loop: they share the pixel's circle, so their samples
// lie at the same distances, and a block runs the turns of its widest circle once, not twice.
void ownLayers(vec2 p, vec2 dirA, vec2 dirB, vec4 centre, float radius, out vec3 ownA, out vec3 ownB)
{
    ownA = centre.rgb;
    ownB = centre.rgb;
    if (radius < 0.5)
        return;
    int count = int(min(ceil(radius * kSamplesPerPixel), float(kMaxSamples)));
    // Samples at the same distances in every pixel alias against the detail they step over:
    // stripes through every out-of-focus disc. An offset that changes from pixel to pixel
    // turns them into a fine grain that the second pass and the upsampling average away.
    // Under a small circle the samples lie a pixel apart or closer and step over nothing: there
    // the offset would only be grain, along a slightly defocused silhouette a fringe of hairs.
    float jitter = mix(0.5, interleavedGradientNoise(p), smoothstep(kSteadyRadius, 2.0 * kSteadyRadius, radius));
    vec4 sumA = vec4(0.0);
    vec4 sumB = vec4(0.0);
    for (int i = 0; i < count; ++i) {
        float d = (float(i) + jitter) / float(count) * radius;
        sumA += ownSample(readAt(S, p + dirA * d), d, centre.a);
        sumB += ownSample(readAt(S, p + dirB * d), d, centre.a);
    }
    if (sumA.a > 0.0)
        ownA = sumA.rgb / sumA.a;
    if (sumB.a > 0.0)
        ownB = sumB.rgb / sumB.a;
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    // At the texel's centre a filtered read is the texel itself: fetched, without the filter.
    vec4 centre = texelFetch(S, ivec2(p));
    float limit = kMaxRadiusFraction * length(vec2(textureSize(S)));
    float radius = min(abs(centre.a), limit);
    vec3 own0, own1;
    ownLayers(p, step0, step1, centre, radius, own0, own1);
    vec4 along0 = nearLayer(S, p, vec2(0.0), step0, centre.a, radius, limit, own0);
    vec4 along1 = nearLayer(S, p, vec2(0.0), step1, centre.a, radius, limit, own1);
    O0 = along0;
    O1 = vec4((along0.rgb + along1.rgb) * 0.5, min(along0.a, along1.a));
}
