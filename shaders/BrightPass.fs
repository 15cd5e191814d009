#version 330 core
// Bright pass at quarter size: averages the 4x4 block of dofResult ("S", unit 6, half-size
// linear rgb) under each quarter-size pixel with four bilinear taps, and keeps what exceeds the
// threshold, with a soft knee so that the glow fades in instead of switching on. Output is
// linear scene light, like its input.
uniform sampler2DRect S;
out vec4 O0;

#include "common/composite_gain.glsl"
const float kThreshold = 1.0;
const float kKnee = 0.5;

void main()
{
    vec2 p = gl_FragCoord.xy * 2.0;
    vec3 colour = 0.25 * (texture(S, p + vec2(-1.0, -1.0)).rgb + texture(S, p + vec2(1.0, -1.0)).rgb
                        + texture(S, p + vec2(-1.0, 1.0)).rgb + texture(S, p + vec2(1.0, 1.0)).rgb);
    float brightness = max(colour.r, max(colour.g, colour.b)) * kGain;
    float soft = clamp(brightness - kThreshold + kKnee, 0.0, 2.0 * kKnee);
    soft = soft * soft / (4.0 * kKnee);
    float kept = max(soft, brightness - kThreshold) / max(brightness, 1e-4);
    O0 = vec4(colour * kept, 1.0);
}
