#version 330 core
// Geometry pass without a normal map (placed models): writes the surface into gbuffer (RGBA8)
// with the same encoding as GeometryNM.fs: RG octahedral view-space normal, B specular
// reflectance at normal incidence ("r", about 0.06 for the models: a plastic), A roughness
// (fixed here: a soft satin sheen).
uniform float r;
in vec3 normalV;
out vec4 O0;

const float kRoughness = 0.35;

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

void main()
{
    float lengthSquared = dot(normalV, normalV);
    vec3 n = lengthSquared > 1e-20 ? normalV * inversesqrt(lengthSquared) : vec3(0.0, 0.0, 1.0);
    O0 = vec4(octahedralEncode(n), clamp(r, 0.0, 1.0), kRoughness);
}
