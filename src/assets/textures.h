#pragma once
// The show's five image textures: a fixed table of files and flags, loaded once at start-up
// into 2-D textures with full mip-map chains. The entries are named in core/texture_units.h
// (textureEntry::tunnelNormalMap, ...).
#include "assets/texture_format.h"
#include "core/texture_units.h"

#include <cstdint>

struct TextureEntry {
    const char* file;
    uint8_t flags;
};

constexpr int textureCount = textureEntry::count;
extern const TextureEntry textureTable[textureCount];
extern uint32_t textureNames[textureCount];

// Decodes `path` and uploads it into texture `name` (bound to GL_TEXTURE_2D of the active
// unit) with its parameters and mip-maps. On failure writes "Image file error: <path>;" to
// stderr and returns false, before any GL call. `maxAnisotropy` and `maxTextureSize` are the
// driver's largest values; an image wider or taller than `maxTextureSize` is a failure.
bool loadTextureFile(uint32_t name, const char* path, uint8_t flags, float maxAnisotropy, int maxTextureSize);

// Creates the five textures of the table into textureNames. Stops at the first failure,
// after its one message; entries already done stay usable. Needs a current GL context.
bool loadTextures();
