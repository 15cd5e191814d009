#pragma once
// Decoding of the show's PNG and JPEG images from memory, at the channel count stored in the
// file. Images are checked from their headers before any pixel memory is allocated.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The decoder's own ceiling on a side, in pixels, far above any driver's largest texture. The
// texture loader passes the driver's GL_MAX_TEXTURE_SIZE, which is the limit that matters.
constexpr int decoderMaxImageSide = 1 << 24;

// Largest decoded image accepted, width x height x channels bytes. Decoding asks for more than
// the pixels while it works (a PNG's inflated rows, a JPEG's component planes), and a 32-bit
// process has little address space to spare, so it gets a quarter of the 64-bit bound.
constexpr uint64_t maxImageBytes = sizeof(void*) >= 8 ? uint64_t(256) << 20 : uint64_t(64) << 20;

struct PixelsDeleter {
    void operator()(uint8_t* pixels) const;
};

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;                                // 1 grey, 2 grey-alpha, 3 RGB, 4 RGBA; 8 bits each
    std::unique_ptr<uint8_t, PixelsDeleter> pixels;  // rows top first, tightly packed
};

// False, with the reason in `error`, for data that is not a PNG or JPEG image, an image wider
// or taller than `maxSide` (or decoderMaxImageSide, whichever is smaller), one of more than
// maxImageBytes, or one with a channel count outside 1 to 4. Sizes are checked from the header,
// before any pixel memory is asked for.
bool decodeImage(const uint8_t* bytes, size_t size, DecodedImage& image, std::string& error,
                 int maxSide = decoderMaxImageSide);
