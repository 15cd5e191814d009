// stb_image's implementation, limited to the two formats the show reads, decoding from memory
// only, and refusing images beyond the loader's size cap before allocating their pixels.
#include "assets/image_decode.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS maxImageDimension
#include <stb/stb_image.h>
