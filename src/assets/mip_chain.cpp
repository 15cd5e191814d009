#include "assets/mip_chain.h"

#include <cstddef>

void halveImage(uint8_t* pixels, int width, int height, int channels, uint8_t* half)
{
    const int halfWidth = width > 1 ? width / 2 : 1;
    const int halfHeight = height > 1 ? height / 2 : 1;
    const size_t row = size_t(width) * size_t(channels);
    // Offsets of the second column and the second row, 0 where the side is a single texel.
    const size_t right = width > 1 ? size_t(channels) : 0;
    const size_t below = height > 1 ? row : 0;
    for (int y = 0; y < halfHeight; ++y) {
        const uint8_t* top = pixels + size_t(y) * (height > 1 ? 2 : 1) * row;
        uint8_t* out = half + size_t(y) * size_t(halfWidth) * size_t(channels);
        for (int x = 0; x < halfWidth; ++x) {
            const uint8_t* texel = top + size_t(x) * (width > 1 ? 2 : 1) * size_t(channels);
            // Each row's pair first, then the two rows, every mean rounded half up: the order
            // and rounding of a software driver's own halving, so its pictures stay the same.
            for (int c = 0; c < channels; ++c) {
                const int upper = (texel[c] + texel[c + right] + 1) >> 1;
                const int lower = (texel[c + below] + texel[c + below + right] + 1) >> 1;
                out[c] = uint8_t((upper + lower + 1) >> 1);
            }
            out += channels;
        }
    }
}

int mipLevelCount(int width, int height)
{
    int levels = 1;
    for (int side = width > height ? width : height; side > 1; side /= 2)
        ++levels;
    return levels;
}
