// normalize() of a zero vector is undefined (NaN on most drivers, and a NaN normal spreads
// through every later pass); a vector too short to have a direction takes `fallback`.
vec3 safeNormalize(vec3 v, vec3 fallback)
{
    float lengthSquared = dot(v, v);
    return lengthSquared > 1e-20 ? v * inversesqrt(lengthSquared) : fallback;
}
