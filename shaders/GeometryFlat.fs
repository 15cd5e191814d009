#version 330 core
// Geometry pass without a normal map (placed models): writes the surface into gbuffer (RGBA8)
// with the same encoding as GeometryNM.fs: RG octahedral view-space normal, B specular
// reflectance at normal incidence ("r", about 0.06 for the models: a plastic), A roughness
// (fixed here: a soft satin sheen).
uniform float r;
in vec3 normalV;
out vec4 O0;

const float kRoughness = 0.35;
// Variance of the normal across a pixel to squared roughness.
const float kSpreadToRoughness = 2.0;
// Squared roughness added to faces turned further than this from the eye (the normal's view z).
const float kEdgeOnFacing = 0.3;
const float kEdgeOnRoughness = 0.35;

#include "common/safe_normalize.glsl"
#include "common/octahedral.glsl"
#include "common/normal_dither.glsl"

void main()
{
    vec3 n = safeNormalize(normalV, vec3(0.0, 0.0, 1.0));
    // Towards a silhouette the normal turns faster and faster: a single sharp reflection per
    // pixel there is a one-pixel line of the brightest surround at grazing incidence, which
    // the depth of field then spreads into a hairy halo. The normal's spread across the pixel
    // is taken as extra roughness, which softens the rim to what the whole pixel would see.
    vec3 dx = dFdx(n), dy = dFdy(n);
    // A flat face seen almost edge-on is a line a pixel or two thin whose one reflection, at
    // grazing incidence the tube's bright far end, draws it as a bright thread: it takes a
    // little roughness too.
    float edgeOn = 1.0 - smoothstep(0.0, kEdgeOnFacing, abs(n.z));
    float spread = min(kSpreadToRoughness * (dot(dx, dx) + dot(dy, dy)) + kEdgeOnRoughness * edgeOn, 1.0);
    float roughness = sqrt(min(kRoughness * kRoughness + spread, 1.0));
    O0 = vec4(ditheredForEightBits(octahedralEncode(n)), clamp(r, 0.0, 1.0), roughness);
}
