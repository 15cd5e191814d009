// The gbuffer's normal encoding (RG of gbuffer, see GeometryNM.fs): a unit view-space normal
// folded onto the octahedron and flattened, 0.5, 0.5 being +z. The geometry stages encode and
// the light stages decode; one source keeps the two halves of the round trip in step.

// Like sign(), but 0 counts as positive, so the fold never flattens a normal to zero.
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

vec3 octahedralDecode(vec2 encoded)
{
    vec2 e = encoded * 2.0 - 1.0;
    vec3 n = vec3(e, 1.0 - abs(e.x) - abs(e.y));
    if (n.z < 0.0)
        n.xy = (1.0 - abs(n.yx)) * signNotZero(n.xy);
    return normalize(n);
}
