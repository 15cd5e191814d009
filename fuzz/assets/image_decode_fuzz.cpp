// libFuzzer target: any byte string through the image path of the texture loader (header
// check, size cap, decode at the stored channel count, format choice).
#include "assets/image_decode.h"
#include "assets/texture_format.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedImage image;
    std::string error;
    if (!decodeImage(data, size, image, error))
        return 0;
    if (image.width < 1 || image.height < 1 || image.width > maxImageDimension || image.height > maxImageDimension)
        std::abort();
    TextureFormat format;
    if (!chooseTextureFormat(image.channels, 0x1A, format))
        std::abort();
    // Touch the last pixel byte: the buffer must hold width x height x channels bytes.
    volatile uint8_t last = image.pixels.get()[size_t(image.width) * size_t(image.height) * size_t(image.channels) - 1];
    (void)last;
    return 0;
}
