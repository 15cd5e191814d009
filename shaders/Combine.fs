#version 330 core
// Composite, at full size into outputImage (sRGB-encoded by the framebuffer, so this writes
// linear values). Blends sceneColor ("A", unit 2; alpha the signed circle of confusion in
// full-size pixels) with the half-size depth-of-field result ("D", unit 3) by the size of the
// circle, adds the quarter-size glow ("G", unit 4), applies the one fixed gain and a filmic
// tone curve that keeps local contrast high on its shoulder, and dithers by up to one 8-bit
// sRGB step so dark gradients do not band. Alpha is the perceptual luma of the result.
uniform sampler2DRect A;
uniform sampler2DRect D;
uniform sampler2DRect G;
out vec4 O0;

#include "common/composite_gain.glsl"
const float kGlowStrength = 0.15;
const float kCornerLight = 0.78;

// Tone curve: mid grey in, a little brighter out. Below mid grey a filmic toe with contrast 1.4;
// above it a shoulder laid out in stops: from mid grey (0.485 encoded) the encoded value rises
// by ln(1 + 0.325 x stops) x 0.46, which gives 0.15 per stop at mid grey, still 0.065 four stops
// over and 0.05 six stops over, and white at about six and a half stops. A global curve has
// only so much range above mid grey to share out; this one spends it evenly enough that the
// flash, five stops over the credits, still shows its ground, while every scene's deliberate
// burn-out (the intro's end, the credits' fade) still reaches white.
const float kContrast = 1.4;
const float kShoulder = 0.95;
const float kMidIn = 0.18;
const float kMidOut = 0.2;
const float kWhiteIn = 0.18 * 256.0;
const float kCurveB = (-pow(kMidIn, kContrast) + pow(kWhiteIn, kContrast) * kMidOut)
    / ((pow(kWhiteIn, kContrast * kShoulder) - pow(kMidIn, kContrast * kShoulder)) * kMidOut);
const float kCurveC = (pow(kWhiteIn, kContrast * kShoulder) * pow(kMidIn, kContrast)
                       - pow(kWhiteIn, kContrast) * pow(kMidIn, kContrast * kShoulder) * kMidOut)
    / ((pow(kWhiteIn, kContrast * kShoulder) - pow(kMidIn, kContrast * kShoulder)) * kMidOut);
const float kMidEncoded = 0.485;
const float kShoulderRate = 0.325;
const float kShoulderScale = 0.46;
// Share of each channel mixed into the others before the curve and taken out after: a bright
// saturated colour then reaches white through its own hue, as on film, instead of clipping to
// a flat primary while the other channels lag.
const float kCrossTalk = 0.06;

// The shoulder's encoded value, in [kMidEncoded, 1], decoded from sRGB to linear: a polynomial
// within 1.4e-6 of the exact decode over that range (a tenth of a per cent of an 8-bit step), in
// place of the power's logarithm and exponential on four channels.
vec4 shoulderToLinear(vec4 encoded)
{
    return (((-0.0433939007 * encoded + 0.3559606199) * encoded + 0.7002324760) * encoded - 0.0200004050)
        * encoded + 0.0072000363;
}

// The colour's curve in rgb and, in alpha, that of a grey of the given level: one evaluation
// serves both uses below. One logarithm of the input serves the toe's two powers and the
// shoulder's stops.
vec4 toneCurve(vec3 x, float grey)
{
    vec4 inset = vec4(x * (1.0 - 3.0 * kCrossTalk) + kCrossTalk * (x.r + x.g + x.b), grey);
    vec4 logInset = log2(max(inset, vec4(1e-6)));
    vec4 powered = exp2(kContrast * logInset);
    vec4 toe = powered / (exp2((kContrast * kShoulder) * logInset) * kCurveB + kCurveC);
    vec4 stopsOver = logInset - log2(kMidIn);
    vec4 shoulder = shoulderToLinear(min(kMidEncoded + kShoulderScale * log(1.0 + kShoulderRate * max(stopsOver, 0.0)),
                                         vec4(1.0)));
    vec4 curved = min(mix(toe, shoulder, greaterThan(inset, vec4(kMidIn))), 1.0);
    vec3 outset = (curved.rgb - kCrossTalk * (curved.r + curved.g + curved.b)) / (1.0 - 3.0 * kCrossTalk);
    return vec4(clamp(outset, 0.0, 1.0), curved.a);
}

// Local contrast high on the shoulder. The glow (the bright pass blurred over a few per cent
// of the frame) says how bright a pixel's neighbourhood is, where it is bright. There the
// curve's slope has fallen: the pixel's difference from its neighbourhood, in stops, is
// stretched to what a slope of kLocalSlope would show, so texture and relief stay visible
// several stops over while the neighbourhood itself still goes where the curve puts it, and
// the exposure's arcs (the intro's burn, the flash's decay, the credits' fade) are kept.
const vec3 kLuma = vec3(0.2126, 0.7152, 0.0722);
const float kLocalSlope = 0.15;
const float kMostStretch = 2.0;
// The bright pass keeps what exceeds an input of about 1: added back for the level.
const float kBrightPassThreshold = 0.9;
// How far off (as a share of the height, along each axis) the glow around a pixel is looked at.
const float kGlowAsideShare = 0.1;

// `glow` and `broadGlow` in the curve's input units: the glow here, and the least of it a
// little way off all around.
vec3 keepLocalContrast(vec3 x, vec3 glow, float broadGlow)
{
    float glowHere = dot(glow, kLuma);
    float neighbourhood = glowHere + kBrightPassThreshold;
    float logNeighbourhood = log2(neighbourhood);
    float stops = max(logNeighbourhood - log2(kMidIn), 0.0);
    float slope = kShoulderScale * kShoulderRate / (1.0 + kShoulderRate * stops);
    float encoded = kMidEncoded + kShoulderScale * log(1.0 + kShoulderRate * stops);
    // Only on a surface bright all around. Where the glow here stands well above the glow a
    // little way off, it comes from a light (a particle, a streak, a cluster of them), not from
    // the surface: stretching the surface against it would darken the ground round each light
    // into a shadow. Both measures change smoothly across the frame, so the stretch does too.
    // None as the neighbourhood burns to white, which the planned burn-outs must reach.
    float broadShare = broadGlow / max(glowHere, 1e-6);
    float surfaceWeight = smoothstep(0.0, 0.5, broadGlow) * smoothstep(0.35, 0.75, broadShare);
    float stretch = mix(1.0, clamp(kLocalSlope / slope, 1.0, kMostStretch),
                        surfaceWeight * smoothstep(1.02, 0.9, encoded));
    float stopsFromNeighbourhood = clamp(log2(max(dot(x, kLuma), 1e-6)) - logNeighbourhood, -8.0, 4.0);
    return x * exp2((stretch - 1.0) * stopsFromNeighbourhood);
}

// The curve above works on each channel alone, so a colour that climbs its shoulder loses its
// saturation long before it reaches white: the over-exposed flash's warm ground would read as
// a grey-beige veil. Three quarters of the result is instead the colour scaled as a whole to
// where the curve puts its luma (pulled towards white at that luma only as far as it must to
// fit), which keeps the hue and most of its strength until the very top.
const float kKeepChroma = 0.75;

vec3 toneCurveKeepingChroma(vec3 x)
{
    float luma = max(dot(x, kLuma), 1e-6);
    vec4 curved = toneCurve(x, luma);
    float lumaOut = curved.a;
    vec3 scaled = x * (lumaOut / luma);
    float peak = max(scaled.r, max(scaled.g, scaled.b));
    float fit = peak > 1.0 ? (1.0 - lumaOut) / max(peak - lumaOut, 1e-6) : 1.0;
    scaled = vec3(lumaOut) + (scaled - vec3(lumaOut)) * clamp(fit, 0.0, 1.0);
    return mix(curved.rgb, scaled, kKeepChroma);
}

// display^(1 / 2.4), the power in the sRGB encode, for display in [0.0031308, 1] (where the
// encode uses it): a polynomial in its fourth root, within 4e-5 of the exact power there (a
// hundredth of an 8-bit step once encoded), from two square roots instead of a logarithm and an
// exponential on three channels.
vec3 encodingRoot(vec3 display)
{
    vec3 t = sqrt(sqrt(display));
    return (((0.0747448338 * t - 0.3122008247) * t + 1.0590966866) * t + 0.1877163767) * t - 0.0093305974;
}

#include "common/pixel_hash.glsl"

// Two independent values in [0, 1) per pixel from an integer hash of its position.
vec2 pixelNoise(uvec2 p)
{
    uint h = pixelHash(p, 26699u);
    return vec2(float(h & 0xffffu), float(h >> 16u)) * (1.0 / 65536.0);
}

// The half-size colour of the pixel's block as Half.fs makes it, from the four texels the
// composite reads once for both uses.
#include "common/half_size_colour.glsl"

// The lens lets a little less light reach the corners than the middle: a third of a stop at
// the corners, falling off smoothly, so the eye settles inside the frame.
float vignette(vec2 p)
{
    vec2 size = vec2(textureSize(A));
    vec2 q = (p / size - 0.5) * 2.0 * vec2(size.x / size.y, 1.0);
    float reach = dot(q, q) / (1.0 + (size.x / size.y) * (size.x / size.y));
    return mix(1.0, kCornerLight, reach * reach);
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    // The pixel's own texel is one of its half-size block's four, read once for both uses.
    ivec2 block = ivec2(p) / 2;
    ivec2 last = textureSize(A) - 1;
    vec4 t00 = texelFetch(A, min(block * 2, last));
    vec4 t10 = texelFetch(A, min(block * 2 + ivec2(1, 0), last));
    vec4 t01 = texelFetch(A, min(block * 2 + ivec2(0, 1), last));
    vec4 t11 = texelFetch(A, min(block * 2 + ivec2(1, 1), last));
    bvec2 second = equal(ivec2(p) - block * 2, ivec2(1));
    vec4 sharp = second.y ? (second.x ? t11 : t01) : (second.x ? t10 : t00);
    vec3 blurred = texture(D, p * 0.5).rgb;
    vec3 glow = texture(G, p * 0.25).rgb;
    // In focus but covered by a blurred foreground: the depth of field changed this block's
    // half-size colour by more than its storage format's rounding, which it does to a block of
    // a small circle of its own only where a foreground spreads over it. The blend follows how
    // much it changed, so it grows with the foreground's cover rather than switching on block
    // by block (which dots every blurred silhouette). A block of a larger circle is blurred by
    // its own gather, by a little more than the rounding wherever its surface has fine relief,
    // and is blended by its own circle's ramp instead.
    vec4 before = halfSizeColour(t00, t10, t01, t11);
    vec3 after = texelFetch(D, block).rgb;
    float change = max(max(abs(after.r - before.r), abs(after.g - before.g)), abs(after.b - before.b))
        / (max(max(before.r, before.g), max(before.b, 0.0)) + 1e-4);
    float covered = clamp((change - 0.03) * 2.0, 0.0, 1.0) * (1.0 - smoothstep(0.7, 1.0, abs(before.a)));
    // A pixel of a farther layer than its block's (the block is labelled with its nearest
    // circle) is one the blurred foreground reaches at half size already: without this the
    // blurred silhouette is dotted with the sharp background's pixels.
    covered = max(covered, smoothstep(1.0, 2.0, sharp.a - before.a));
    float blurAmount = max(smoothstep(1.0, 3.0, abs(sharp.a)), covered);
    vec3 light = (mix(sharp.rgb, blurred, blurAmount) + glow * kGlowStrength) * vignette(p);
    light = mix(light, vec3(0.0), isnan(light));
    vec3 x = clamp(light, 0.0, kMaxLight) * kGain;
    // The least glow a tenth of the frame's height off on either side along a diagonal: a bright
    // surface has it all around, a small light or a cluster of them only close by. The reads
    // are filtered: the glow's own texels are four pixels wide, and a nearest read would step
    // the stretch in blocks of four, a checkered seam wherever the glow changes fast.
    float reach = kGlowAsideShare * float(textureSize(G).y);
    vec2 q = p * 0.25;
    float broadGlow = dot(glow, kLuma);
    broadGlow = min(broadGlow, dot(texture(G, q + vec2(reach, reach)).rgb, kLuma));
    broadGlow = min(broadGlow, dot(texture(G, q - vec2(reach, reach)).rgb, kLuma));
    x = keepLocalContrast(x, glow * kGain, broadGlow * kGain);
    vec3 display = toneCurveKeepingChroma(x);
    // Triangular noise of one 8-bit step, added where the 8-bit sRGB rounding happens: to the
    // encoded value for the luma below, and to the linear output as the decode's slope there
    // carries it (to second order, within a twentieth of a step of decoding the sum), so the
    // output needs no second power.
    vec2 noise = pixelNoise(uvec2(p));
    float dither = (noise.x + noise.y - 1.0) / 255.0;
    vec3 root = encodingRoot(display);
    bvec3 curvedPart = greaterThan(display, vec3(0.0031308));
    vec3 encoded = mix(display * 12.92, 1.055 * root - 0.055, curvedPart);
    // d(linear)/d(encoded) = 2.4 / 1.055 x display^(1.4 / 2.4), and its relative change per unit
    // encoded 1.4 / (encoded + 0.055).
    vec3 safeRoot = max(root, vec3(1e-6));
    vec3 slope = (2.4 / 1.055) * display / safeRoot;
    vec3 curvedStep = dither * slope * (1.0 + (0.7 / 1.055) * dither / safeRoot);
    vec3 dithered = display + mix(vec3(dither / 12.92), curvedStep, curvedPart);
    // Alpha (stored as it is, not sRGB-encoded) carries the perceptual luma the anti-aliasing
    // pass finds its edges on, so it reads one channel instead of converting colours.
    O0 = vec4(clamp(dithered, 0.0, 1.0), dot(clamp(encoded + dither, 0.0, 1.0), vec3(0.299, 0.587, 0.114)));
}
