#include "label_font.h"

namespace {

struct Glyph {
    char character;
    uint8_t rows[glyphHeight];   // bit 4 is the leftmost pixel
};

const Glyph glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
    {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}},
    {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
};

const Glyph* findGlyph(char c)
{
    for (const Glyph& glyph : glyphs)
        if (glyph.character == c)
            return &glyph;
    return nullptr;
}

} // namespace

int labelWidth(const std::string& text, int scale)
{
    if (text.empty())
        return 0;
    return int(text.size()) * (glyphWidth + 1) * scale - scale;
}

void drawLabel(std::vector<uint8_t>& rgba, int imageWidth, int imageHeight, int x, int y, const std::string& text,
               int scale, const uint8_t rgb[3])
{
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph* glyph = findGlyph(text[i]);
        if (!glyph)
            continue;
        const int left = x + int(i) * (glyphWidth + 1) * scale;
        for (int row = 0; row < glyphHeight * scale; ++row) {
            for (int column = 0; column < glyphWidth * scale; ++column) {
                if (!(glyph->rows[row / scale] & (0x10 >> (column / scale))))
                    continue;
                const int px = left + column, py = y + row;
                if (px < 0 || py < 0 || px >= imageWidth || py >= imageHeight)
                    continue;
                uint8_t* pixel = &rgba[(size_t(py) * size_t(imageWidth) + size_t(px)) * 4];
                pixel[0] = rgb[0];
                pixel[1] = rgb[1];
                pixel[2] = rgb[2];
                pixel[3] = 255;
            }
        }
    }
}
