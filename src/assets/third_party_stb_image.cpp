// stb_image's implementation, limited to the two formats the show reads, decoding from memory
// only, and refusing images beyond the decoder's own ceiling before allocating their pixels.
//
// Its allocations are zeroed: on a malformed JPEG that uses a Huffman table it never defined,
// the decoder reads the table's fields, and zeroed memory makes that read the same every time
// instead of whatever the allocator left there.
#include "assets/image_decode.h"

#include <cstdlib>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS decoderMaxImageSide
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
#include <stb/stb_image.h>
