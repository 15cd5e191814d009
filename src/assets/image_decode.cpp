#include "assets/image_decode.h"

#include <stb/stb_image.h>

#include <climits>

void PixelsDeleter::operator()(uint8_t* pixels) const
{
    stbi_image_free(pixels);
}

bool decodeImage(const uint8_t* bytes, size_t size, DecodedImage& image, std::string& error)
{
    image = DecodedImage();
    if (!bytes || size == 0 || size > size_t(INT_MAX)) {
        error = "no image data";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, int(size), &width, &height, &channels)) {
        error = stbi_failure_reason() ? stbi_failure_reason() : "not a PNG or JPEG image";
        return false;
    }
    if (width <= 0 || height <= 0 || width > maxImageDimension || height > maxImageDimension) {
        error = "image size " + std::to_string(width) + " x " + std::to_string(height) +
                " outside 1 to " + std::to_string(maxImageDimension);
        return false;
    }
    if (channels < 1 || channels > 4) {
        error = "channel count " + std::to_string(channels) + " outside 1 to 4";
        return false;
    }
    uint8_t* pixels = stbi_load_from_memory(bytes, int(size), &width, &height, &channels, 0);
    if (!pixels) {
        error = stbi_failure_reason() ? stbi_failure_reason() : "corrupt image data";
        return false;
    }
    image.pixels.reset(pixels);
    image.width = width;
    image.height = height;
    image.channels = channels;
    if (channels < 1 || channels > 4) {
        error = "channel count " + std::to_string(channels) + " outside 1 to 4";
        image = DecodedImage();
        return false;
    }
    return true;
}
