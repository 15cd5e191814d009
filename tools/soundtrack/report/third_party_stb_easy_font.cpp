// stb_easy_font, compiled here with the vendor's warnings: its functions are static, so this
// file hands its quads to the report's picture through one function of ours.
#include "bitmap_font.h"

#include <stb/stb_easy_font.h>

namespace soundtrack {

int textQuads(float x, float y, const char* text, float* vertices, int capacityBytes)
{
    unsigned char colour[4] = {255, 255, 255, 255};
    return stb_easy_font_print(x, y, const_cast<char*>(text), colour, vertices, capacityBytes);
}

}  // namespace soundtrack
