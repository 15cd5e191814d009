// The 8-bit buffer rounds the normal to steps that show as streaks across smooth curved
// surfaces far away; noise of one step before the rounding turns them into fine grain. Both
// geometry stages write the same buffer, so both dither alike.
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
