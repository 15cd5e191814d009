// Implementations of the stb parts the texture generator uses: image writing and Perlin noise.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>
