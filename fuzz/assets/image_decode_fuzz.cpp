// libFuzzer target: any byte string through the image path of the texture loader (header
// check, size and memory caps, decode at the stored channel count, format choice, the loader's own mip-maps).
#include "assets/image_decode.h"
#include "assets/mip_chain.h"
#include "assets/texture_format.h"

#include <cstdlib>

// A common driver's GL_MAX_TEXTURE_SIZE, standing in for the one the loader queries.
constexpr int driverMaxTextureSize = 16384;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedImage image;
    std::string error;
    if (!decodeImage(data, size, image, error, driverMaxTextureSize))
        return 0;
    if (image.width < 1 || image.height < 1 || image.width > driverMaxTextureSize ||
        image.height > driverMaxTextureSize)
        std::abort();
    if (uint64_t(image.width) * uint64_t(image.height) * uint64_t(image.channels) > maxImageBytes)
        std::abort();
    TextureFormat format;
    if (!chooseTextureFormat(image.channels, 0x1A, format))
        std::abort();
    // Touch the last pixel byte: the buffer must hold width x height x channels bytes.
    volatile uint8_t last = image.pixels.get()[size_t(image.width) * size_t(image.height) * size_t(image.channels) - 1];
    (void)last;
    // The software driver's path: the whole mip-map chain halved in place in the same buffer.
    int width = image.width, height = image.height;
    for (int level = 1; level < mipLevelCount(image.width, image.height); ++level) {
        halveImage(image.pixels.get(), width, height, image.channels, image.pixels.get());
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
    }
    return 0;
}
