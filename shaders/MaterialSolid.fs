#version 330 core
// Forward pass for one-colour surfaces (placed models, tunnel wall): diffuse light ("D",
// unit 2) times "dc" plus specular light ("S", unit 3) times "sc", faded into the fog colour "fc"
// with view distance. A surface that never sets "dc" reads it as black: a metal, all
// reflection. Alpha of sceneColor: the signed circle of confusion from "c" in full-size
// pixels (circleOfConfusion).
uniform sampler2DRect D;
uniform sampler2DRect S;
uniform vec3 sc;
uniform vec3 dc;
uniform vec3 fc;
out vec4 O0;

// Distance (world units) at which the fog has taken 63 % of the picture. The tunnel's wall, a
// metal (no diffuse colour), keeps its near shading while its far end, 100 units away, is four
// fifths fog. Surfaces with a colour of their own stand in the open air of the credits' plain
// (or, in the carousel, close to the lens) and fog as thinly as that plain's ground does, so the
// distant lettering keeps its colour and shade against the sky instead of paling into it.
const float kTunnelFogDistance = 80.0;
const float kOpenAirFogDistance = 250.0;

#include "common/circle_of_confusion.glsl"
#include "common/finite_colour.glsl"

void main()
{
    vec2 p = gl_FragCoord.xy;
    float z = 1.0 / gl_FragCoord.w;
    vec3 lit = dc * finiteColour(texture(D, p).rgb) + sc * finiteColour(texture(S, p).rgb);
    float fogDistance = any(greaterThan(dc, vec3(0.0))) ? kOpenAirFogDistance : kTunnelFogDistance;
    float fog = 1.0 - exp(-(z * z) / (fogDistance * fogDistance));
    vec3 colour = mix(finiteColour(lit), finiteColour(fc), fog);
    O0 = vec4(colour, circleOfConfusion(z));
}
