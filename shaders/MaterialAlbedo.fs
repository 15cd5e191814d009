#version 330 core
// Forward pass for the textured ground plane: the colour texture ("A", unit 4, 2D, decoded to
// linear by its sRGB format) times the diffuse light ("D", unit 2), plus the specular light
// ("S", unit 3) times "sc", both under the clouds' shadows, plus a glow of its own, albedo x
// "ds" + "db" (none in the show); faded into the fog colour "fc" with view distance. Alpha:
// the signed circle of confusion from "c" in full-size pixels (circleOfConfusion).
uniform sampler2D A;
uniform sampler2DRect D;
uniform sampler2DRect S;
uniform vec3 sc;
uniform vec3 ds;
uniform vec3 db;
uniform vec3 fc;
in vec2 uv;
out vec4 O0;

// The ground runs to the horizon: fog this thin leaves its far edge a line against the sky
// instead of a grey band of haze, and the flash's ground less veiled.
const float kFogDistance = 250.0;

#include "common/circle_of_confusion.glsl"
#include "common/finite_colour.glsl"

// The map repeats. Its coordinates are wrapped here, with the gradients of the unwrapped ones,
// so the filter's footprint and the picture stay the same: far away they grow large, and
// llvmpipe's anisotropic sampler can then spend minutes on a single frame. Seen at a grazing
// angle a pixel covers a long thin strip of the map, and a read filtered over the strip's
// whole length blurs the ground across the view as much as along it, smearing it sideways
// where the software drivers give the sampler no anisotropy (there it takes a slow path). The
// read is filtered over half the strip's length instead: twice the detail across the view, for
// a little more shimmer along it, in one read (a second read, for the other half, cost the
// flash a tenth of its frame).
vec4 sampleRepeatingAlongFootprint(sampler2D map, vec2 coordinates)
{
    vec2 dx = dFdx(coordinates), dy = dFdy(coordinates);
    bool alongX = dot(dx, dx) > dot(dy, dy);
    vec2 gradX = alongX ? 0.5 * dx : dx, gradY = alongX ? dy : 0.5 * dy;
    return textureGrad(map, fract(coordinates), gradX, gradY);
}

// Shadows of clouds on the ground: soft patches about ten metres across (the map repeats every
// eight) where less of the light arrives, so the ground has the large light and shade of an
// open landscape, which survives where the lens blurs its fine texture away, and the far
// plain reads in depth.
const float kCloudCellsPerRepeat = 0.7;
const float kShadowLight = 0.45;

#include "common/pixel_hash.glsl"

float latticeValue(ivec2 cell)
{
    return float(pixelHash(uvec2(cell), 26699u) & 0xffffu) / 65536.0;
}

float valueNoise(vec2 p)
{
    ivec2 cell = ivec2(floor(p));
    vec2 f = fract(p);
    f = f * f * (3.0 - 2.0 * f);
    return mix(mix(latticeValue(cell), latticeValue(cell + ivec2(1, 0)), f.x),
               mix(latticeValue(cell + ivec2(0, 1)), latticeValue(cell + ivec2(1, 1)), f.x), f.y);
}

float cloudShadow(vec2 coordinates)
{
    vec2 p = coordinates * kCloudCellsPerRepeat;
    float cover = 0.65 * valueNoise(p) + 0.35 * valueNoise(p * 2.3 + 17.0);
    return mix(1.0, kShadowLight, smoothstep(0.3, 0.62, cover));
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    float z = 1.0 / gl_FragCoord.w;
    vec3 albedo = sampleRepeatingAlongFootprint(A, uv).rgb;
    vec3 lit = (albedo * finiteColour(texture(D, p).rgb) + sc * finiteColour(texture(S, p).rgb)) * cloudShadow(uv)
        + albedo * ds + db;
    float fog = 1.0 - exp(-(z * z) / (kFogDistance * kFogDistance));
    vec3 colour = mix(finiteColour(lit), finiteColour(fc), fog);
    O0 = vec4(colour, circleOfConfusion(z));
}
