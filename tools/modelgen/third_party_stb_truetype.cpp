// stb_truetype's implementation, for reading glyph outlines.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
