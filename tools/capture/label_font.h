#pragma once
// A 5 x 7 pixel font for labels on captured pictures ("t = 12.50 s", a plot's legend): digits,
// lower-case letters, space and . = % ( ) , - :. Other characters draw as blanks.
#include <cstdint>
#include <string>
#include <vector>

constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;
constexpr int glyphDescent = 2;  // rows below the baseline that g, j, p, q and y reach into

// Width in pixels of `text` at `scale` (one pixel of the font = scale x scale), with one font
// pixel between characters.
int labelWidth(const std::string& text, int scale);

// Draws `text` into an RGBA8 image (top row first) with its top-left corner at (x, y), in
// `rgb`, clipped to the image; descenders reach glyphDescent font pixels below the height.
void drawLabel(std::vector<uint8_t>& rgba, int imageWidth, int imageHeight, int x, int y, const std::string& text,
               int scale, const uint8_t rgb[3]);
