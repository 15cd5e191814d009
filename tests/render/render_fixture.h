#pragma once
// Shared by the render tests: stand-in textures in place of the files under 2d/, and read-back
// of the renderer's targets.
#include "core/gl_api.h"

#include <cstdint>
#include <vector>

// Fills textureNames with small generated textures of the same roles: flat normal maps
// (entries 0 and 4), a sky-to-ground environment gradient (1), bright streaks (2) and a mid-grey
// ground colour (3).
void createStandInTextures();

// Reads level 0 of a rectangle texture as `components` floats per texel, bottom row first.
std::vector<float> readRectangleFloats(GLuint texture, int width, int height, GLenum format, int components);

// The stencil values of a DEPTH24_STENCIL8 rectangle texture, bottom row first.
std::vector<uint8_t> readStencil(GLuint texture, int width, int height);
