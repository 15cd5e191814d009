#version 330 core
// Background colour: "c".rgb is the linear fog colour (already exposed), "c".a goes unchanged
// into the alpha of sceneColor, where it stands for the background's circle of confusion in
// full-size pixels. Non-finite colour (an infinite exposure) is written as black.
uniform vec4 c;
out vec4 O0;

void main()
{
    vec3 colour = mix(c.rgb, vec3(0.0), isnan(c.rgb));
    O0 = vec4(clamp(colour, 0.0, 60000.0), c.a);
}
