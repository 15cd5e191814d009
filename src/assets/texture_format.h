#pragma once
// The texture loader's choices, from an image's channel count and a table entry's flags.
#include <cstdint>

namespace TextureFlags {
constexpr uint8_t TexNearest = 0x01;      // nearest filtering; else trilinear
constexpr uint8_t TexSrgb = 0x02;         // sRGB internal format, 3 and 4 channels only
constexpr uint8_t TexClamp = 0x04;        // clamp to edge; else repeat
constexpr uint8_t TexCompressed = 0x08;   // generic compressed internal format
constexpr uint8_t TexAnisotropic = 0x10;  // the driver's largest anisotropy
}

// Pixel and internal format for an image of `channels` 8-bit channels under `flags`; false
// for a channel count outside 1 to 4.
struct TextureFormat {
    uint32_t pixelFormat = 0;
    int32_t internalFormat = 0;
};
bool chooseTextureFormat(int channels, uint8_t flags, TextureFormat& format);

// Whether the driver that calls itself `renderer` (its GL_RENDERER string; null counts as a
// hardware driver) rasterises on the CPU.
bool rendererIsSoftware(const char* renderer);

// Filter and wrap values for `flags`, in the order they are set.
struct TextureSampling {
    int32_t minFilter;
    int32_t magFilter;
    int32_t wrap;  // both S and T
};
TextureSampling chooseTextureSampling(uint8_t flags);

// The anisotropy that TexAnisotropic textures get from a driver named `renderer` (its
// GL_RENDERER) whose largest is `driverMaximum`: that largest, except on the software
// rasterizers, which take a slow path at any anisotropy above 1 (five to fifteen times the
// cost of the trilinear filter there, most of a frame), and get 1.
float chooseAnisotropy(const char* renderer, float driverMaximum);
