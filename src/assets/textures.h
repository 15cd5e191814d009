#pragma once
// The show's five image textures: a fixed table of files and flags, loaded once at start-up
// into 2-D textures with full mip-map chains. Entries: 0 tunnel normal map, 1 environment map
// of the ambient light, 2 firework streaks, 3 ground colour, 4 ground normal map.
#include <cstdint>

namespace TextureFlags {
constexpr uint8_t TexNearest = 0x01;      // nearest filtering; else trilinear
constexpr uint8_t TexSrgb = 0x02;         // sRGB internal format, 3 and 4 channels only
constexpr uint8_t TexClamp = 0x04;        // clamp to edge; else repeat
constexpr uint8_t TexCompressed = 0x08;   // generic compressed internal format
constexpr uint8_t TexAnisotropic = 0x10;  // the driver's largest anisotropy
}

struct TextureEntry {
    const char* file;
    uint8_t flags;
};

constexpr int textureCount = 5;
extern const TextureEntry textureTable[textureCount];
extern uint32_t textureNames[textureCount];

// Pixel and internal format for an image of `channels` 8-bit channels under `flags`; false
// for a channel count outside 1 to 4.
struct TextureFormat {
    uint32_t pixelFormat = 0;
    int32_t internalFormat = 0;
};
bool chooseTextureFormat(int channels, uint8_t flags, TextureFormat& format);

// Filter and wrap values for `flags`, in the order they are set.
struct TextureSampling {
    int32_t minFilter;
    int32_t magFilter;
    int32_t wrap;   // both S and T
};
TextureSampling chooseTextureSampling(uint8_t flags);

// Decodes `path` and uploads it into texture `name` (bound to GL_TEXTURE_2D of the active
// unit) with its parameters and mip-maps. On failure writes "Image file error: <path>;" to
// stderr and returns false. `maxAnisotropy` is the driver's largest value.
bool loadTextureFile(uint32_t name, const char* path, uint8_t flags, float maxAnisotropy);

// Creates the five textures of the table into textureNames. Stops at the first failure,
// after its one message; entries already done stay usable. Needs a current GL context.
bool loadTextures();
