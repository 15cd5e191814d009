#version 330 core
// Firework layer inside the tunnel (forward pass, no blending, culling off): the streak texture
// ("T", unit 3, 2D, bright streaks on black, streaks running along t, which follows the tube's
// depth) scaled by "e" (emission x exposure), thinned out and faded into "fc" with view
// distance. Where the texture is dark the fragment is dropped, so the tunnel shows between the
// streaks. Alpha: the signed circle of confusion from "c" in full-size pixels
// (circleOfConfusion).
uniform sampler2D T;
uniform vec3 e;
uniform vec3 fc;
in vec2 uv;
out vec4 O0;

const float kFogDistance = 35.0;
const float kCutoff = 0.05;
// View distances (world units) over which the streaks fade in from the lens.
const float kNearFadeStart = 1.5;
const float kNearFadeEnd = 4.0;
// The streaks' radiance for a full texel, under the emission: the cores burn near white, the
// rims keep their colour. Brighter, the lines on the dark tube take the frame's local contrast
// past a photograph's (at 0.7 a third of the scene's frames are over).
const float kStreakLevel = 0.5;
#include "common/streak_tiles.glsl"
const float kStreakStretch = 1.0 / kStreakTileCount;

#include "common/circle_of_confusion.glsl"
#include "common/finite_colour.glsl"

void main()
{
    // Read at the wrapped coordinate with the unwrapped one's gradients: the same texels and
    // footprint, but llvmpipe's anisotropic sampler runs for minutes on the large coordinates
    // that this layer reaches at some camera positions.
    // One texture tile along the tube is as long as it is wide; drawn over three, a streak runs
    // three times as long as the texture holds it, a long stroke rather than a dash.
    vec2 st = uv * vec2(1.0, kStreakStretch);
    vec3 streak = textureGrad(T, fract(st), dFdx(st), dFdy(st)).rgb;
    // Far off the streaks thin out as well as fog: a streak kept whole into the fog would stand
    // as a dark fleck of the fog's colour against the wall behind it.
    float z = 1.0 / gl_FragCoord.w;
    float fog = 1.0 - exp(-(z * z) / (kFogDistance * kFogDistance));
    // Close to the lens a streak is a bar many pixels wide, whose cut-out edges the near blur
    // smears into a slab of smoke, and it crosses a large part of the frame in a few frames, a
    // flash as it passes: it fades out there.
    streak *= (1.0 - fog) * smoothstep(kNearFadeStart, kNearFadeEnd, z);
    if (max(streak.r, max(streak.g, streak.b)) < kCutoff)
        discard;
    vec3 colour = mix(finiteColour(e * streak * kStreakLevel), finiteColour(fc), fog);
    O0 = vec4(colour, circleOfConfusion(z));
}
