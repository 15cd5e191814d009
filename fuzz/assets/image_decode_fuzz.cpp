// libFuzzer target: any byte string through the image path of the texture loader (header
// check, size and memory caps, decode at the stored channel count, format choice).
#include "assets/image_decode.h"
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
    return 0;
}
