#pragma once
#include <cstdint>
#include <vector>

// Reads the default framebuffer (the window, or the headless stand-in for it) as RGBA8, top row
// first, as the display shows it (sRGB-encoded). On a double-buffered window call it before
// the swap: it reads the buffer being drawn. Leaves the read framebuffer binding as it was.
std::vector<uint8_t> readDefaultFramebuffer(uint32_t width, uint32_t height);
