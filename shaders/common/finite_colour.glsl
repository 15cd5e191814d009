// Light buffers can hold infinity when an exposure runs off the scale, and 0 x infinity would
// make a black hole: every term is made finite before it is weighted. NaN becomes black, and
// 60000 is the brightest light any pass carries (below the half-float maximum, 65504).
vec3 finiteColour(vec3 v)
{
    return clamp(mix(v, vec3(0.0), isnan(v)), 0.0, 60000.0);
}
