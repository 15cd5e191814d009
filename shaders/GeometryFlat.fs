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

vec2 signNotZero(vec2 v)
{
    return vec2(v.x >= 0.0 ? 1.0 : -1.0, v.y >= 0.0 ? 1.0 : -1.0);
}

vec2 octahedralEncode(vec3 n)
{
    n /= abs(n.x) + abs(n.y) + abs(n.z);
    vec2 e = n.z >= 0.0 ? n.xy : (1.0 - abs(n.yx)) * signNotZero(n.xy);
    return e * 0.5 + 0.5;
}

// The 8-bit buffer rounds the normal to steps that show as streaks across smooth curved
// surfaces far away; noise of one step before the rounding turns them into fine grain.
vec2 ditheredForEightBits(vec2 encoded)
{
    uvec2 p = uvec2(gl_FragCoord.xy);
    uint h = p.x * 1973u + p.y * 9277u + 5381u;
    h = (h ^ (h >> 16u)) * 0x7feb352du;
    h = (h ^ (h >> 15u)) * 0x846ca68bu;
    h = h ^ (h >> 16u);
    vec2 noise = vec2(float(h & 0xffffu), float(h >> 16u)) * (1.0 / 65536.0) - 0.5;
    return clamp(encoded + noise / 255.0, 0.0, 1.0);
}

void main()
{
    float lengthSquared = dot(normalV, normalV);
    vec3 n = lengthSquared > 1e-20 ? normalV * inversesqrt(lengthSquared) : vec3(0.0, 0.0, 1.0);
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
