#include "assets/image_decode.h"

#include <stb/stb_image.h>

#include <climits>

void PixelsDeleter::operator()(uint8_t* pixels) const
{
    stbi_image_free(pixels);
}

namespace {

// stb_image writes past its Huffman table when a JPEG defines a table of more than 256 codes,
// so such files are refused here first. Walks the marker segments, skipping entropy-coded
// data after each start of scan (progressive files define tables between scans).
bool jpegHuffmanTablesFit(const uint8_t* bytes, size_t size)
{
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return true;   // not a JPEG
    size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF) {
            ++at;   // the decoder skips stray bytes between segments, so this walk does too
            continue;
        }
        uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;   // fill byte
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9)
            return true;
        long length = long(bytes[at + 2]) << 8 | bytes[at + 3];
        size_t end = at + 2 + size_t(length);
        // The decoder reads Huffman and quantisation tables by their contents, not by the
        // segment length, and goes on from where the contents end: so does this walk.
        if (marker == 0xC4 || marker == 0xDB) {
            size_t next = at + 4;
            for (long left = length - 2; left > 0 && next + 17 <= size;) {
                size_t table;
                if (marker == 0xC4) {
                    size_t codes = 0;
                    for (size_t i = 1; i <= 16; ++i)
                        codes += bytes[next + i];
                    if (codes > 256)
                        return false;
                    table = 17 + codes;
                } else {
                    table = (bytes[next] >> 4) ? 129 : 65;
                }
                next += table;
                left -= long(table);
            }
            end = next;
        }
        if (end > size)
            return true;
        at = end;
        if (marker == 0xDA) {
            // Entropy-coded data runs to the next marker that is not a stuffed zero or a
            // restart marker.
            while (at + 1 < size && !(bytes[at] == 0xFF && bytes[at + 1] != 0x00 &&
                                      !(bytes[at + 1] >= 0xD0 && bytes[at + 1] <= 0xD7)))
                ++at;
        }
    }
    return true;
}

}  // namespace

bool decodeImage(const uint8_t* bytes, size_t size, DecodedImage& image, std::string& error)
{
    image = DecodedImage();
    if (!bytes || size == 0 || size > size_t(INT_MAX)) {
        error = "no image data";
        return false;
    }
    if (!jpegHuffmanTablesFit(bytes, size)) {
        error = "JPEG Huffman table of more than 256 codes";
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
