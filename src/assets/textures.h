#pragma once
// The show's five image textures: a fixed table of files and flags, loaded once at start-up
// into 2-D textures with full mip-map chains. Entries: 0 tunnel normal map, 1 environment map
// of the ambient light, 2 firework streaks, 3 ground colour, 4 ground normal map.
#include "assets/texture_format.h"

#include <cstdint>

struct TextureEntry {
    const char* file;
    uint8_t flags;
};

constexpr int textureCount = 5;
extern const TextureEntry textureTable[textureCount];
extern uint32_t textureNames[textureCount];

// Decodes `path` and uploads it into texture `name` (bound to GL_TEXTURE_2D of the active
// unit) with its parameters and mip-maps. On failure writes "Image file error: <path>;" to
// stderr and returns false, before any GL call. `maxAnisotropy` and `maxTextureSize` are the
// driver's largest values; an image wider or taller than `maxTextureSize` is a failure.
bool loadTextureFile(uint32_t name, const char* path, uint8_t flags, float maxAnisotropy,
                     int maxTextureSize);

// Creates the five textures of the table into textureNames. Stops at the first failure,
// after its one message; entries already done stay usable. Needs a current GL context.
bool loadTextures();
