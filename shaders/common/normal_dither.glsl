#include "common/pixel_hash.glsl"

// The 8-bit buffer rounds the normal to steps that show as streaks across smooth curved
// surfaces far away; noise of one step before the rounding turns them into fine grain. Both
// geometry stages write the same buffer, so both dither alike.
vec2 ditheredForEightBits(vec2 encoded)
{
    uvec2 p = uvec2(gl_FragCoord.xy);
    uint h = pixelHash(p, 5381u);
    vec2 noise = vec2(float(h & 0xffffu), float(h >> 16u)) * (1.0 / 65536.0) - 0.5;
    return clamp(encoded + noise / 255.0, 0.0, 1.0);
}
