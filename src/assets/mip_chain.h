#pragma once
// Mip-map levels made on the CPU, for drivers whose own mip-map generation is software too.
#include <cstdint>

// The level below a width x height image of `channels` 8-bit channels: max(1, width / 2) by
// max(1, height / 2), each texel the mean of the 2 x 2 texels above it (rows' pairs first) (of 2 x 1 or
// 1 x 2 where a side is already 1; an odd side's last row or column is left out, as OpenGL's
// halving drops it). Works in place: `half` may be `pixels`, since each texel is written no
// later in memory than the first texel it is made from.
void halveImage(uint8_t* pixels, int width, int height, int channels, uint8_t* half);

// Levels in a full chain from width x height down to 1 x 1, level 0 included.
int mipLevelCount(int width, int height);
