#version 330 core
// Background colour: "c".rgb is the linear fog colour (already exposed), "c".a goes unchanged
// into the alpha of sceneColor, where it stands for the background's circle of confusion in
// full-size pixels. Non-finite colour (an infinite exposure) is written as black. Above the
// middle of the screen the colour deepens a little and cools towards the top, as a sky does
// away from the haze at its horizon; below it the fog colour is untouched, so the fog on the
// ground meets the sky without a seam.
uniform vec4 c;
in float screenY;
out vec4 O0;

const vec3 kZenith = vec3(0.80, 0.84, 0.90);

void main()
{
    vec3 colour = mix(c.rgb, vec3(0.0), isnan(c.rgb));
    colour *= mix(vec3(1.0), kZenith, smoothstep(0.0, 1.0, screenY));
    O0 = vec4(clamp(colour, 0.0, 60000.0), c.a);
}
