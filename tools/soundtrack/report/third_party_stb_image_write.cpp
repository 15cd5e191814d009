// stb_image_write's implementation, for the report's PNG.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
