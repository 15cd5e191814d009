#pragma once
// Decoding of the show's PNG and JPEG images from memory, at the channel count stored in the
// file. Images are checked from their headers before any pixel memory is allocated.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Largest width or height accepted, in pixels. The show's images are 512 or 1024 square.
constexpr int maxImageDimension = 4096;

struct PixelsDeleter {
    void operator()(uint8_t* pixels) const;
};

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;   // 1 grey, 2 grey-alpha, 3 RGB, 4 RGBA; 8 bits each
    std::unique_ptr<uint8_t, PixelsDeleter> pixels;   // rows top first, tightly packed
};

// False, with the reason in `error`, for data that is not a PNG or JPEG image, an image wider
// or taller than maxImageDimension, or one with a channel count outside 1 to 4.
bool decodeImage(const uint8_t* bytes, size_t size, DecodedImage& image, std::string& error);
