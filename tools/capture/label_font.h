#pragma once
// A 5 x 7 pixel font for the few characters that label a frame with its time ("t = 12.50 s"):
// digits, '.', '=', 's', 't' and space. Other characters draw as blanks.
#include <cstdint>
#include <string>
#include <vector>

constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;

// Width in pixels of `text` at `scale` (one pixel of the font = scale x scale), with one font
// pixel between characters.
int labelWidth(const std::string& text, int scale);

// Draws `text` into an RGBA8 image (top row first) with its top-left corner at (x, y), in
// `rgb`, clipped to the image.
void drawLabel(std::vector<uint8_t>& rgba, int imageWidth, int imageHeight, int x, int y, const std::string& text,
               int scale, const uint8_t rgb[3]);
