#version 330 core
// Background colour: "c".rgb is the linear fog colour (already exposed), "c".a goes unchanged
// into the alpha of sceneColor, where it stands for the background's circle of confusion in
// full-size pixels. Non-finite colour (an infinite exposure) is written as black. The sky is
// the fog colour graded as a hazy day grades it: a bright, warm haze at the bottom of the
// screen, where the background meets the far edge of the ground or the tunnel's far end,
// deepening and cooling towards the top, so it reads as depth rather than a flat field.
uniform vec4 c;
in float screenY;
out vec4 O0;

const vec3 kHorizon = vec3(2.5, 2.3, 1.95);
const vec3 kZenith = vec3(0.28, 0.48, 1.1);

void main()
{
    vec3 colour = mix(c.rgb, vec3(0.0), isnan(c.rgb));
    colour *= mix(kHorizon, kZenith, smoothstep(-0.3, 0.8, screenY));
    O0 = vec4(clamp(colour, 0.0, 60000.0), c.a);
}
