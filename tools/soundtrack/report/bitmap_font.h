// Text for the report's picture: the quads of a small built-in bitmap font (stb_easy_font).
#pragma once

namespace soundtrack {

// Writes the quads covering `text` laid out from (x, y) downwards, in pixels at one pixel per
// font unit, 4 vertices of 4 floats each (x, y, z, colour bits) per quad; returns the quads.
int textQuads(float x, float y, const char* text, float* vertices, int capacityBytes);

}  // namespace soundtrack
