#include "assets/image_decode.h"

#include <stb/stb_image.h>

#include <climits>
#include <cstring>

void PixelsDeleter::operator()(uint8_t* pixels) const
{
    stbi_image_free(pixels);
}

namespace {

// stb_image writes past its Huffman table when a JPEG defines a table of more than 256 codes,
// so such files are refused here first. Rather than follow the decoder's own walk through the
// segments (any difference would let a file through), every FF C4 pair in the file is read as
// the start of a table definition, as the decoder would read it there: tables follow one
// another while the segment length lasts, and bytes past the end read as 0. Only entropy-coded
// data can't hold the pair (an FF there is always followed by 00 or a restart number), so a
// real file is refused only if one of its tables is bad.
bool jpegHuffmanTablesFit(const uint8_t* bytes, size_t size)
{
    // The decoder takes any run of FF bytes before the start-of-image D8; a PNG starts with 89.
    size_t start = 0;
    while (start < size && bytes[start] == 0xFF)
        ++start;
    if (start == 0 || start >= size || bytes[start] != 0xD8)
        return true;  // not a JPEG
    auto byteAt = [&](size_t at) -> long { return at < size ? bytes[at] : 0; };
    for (size_t marker = 2; marker + 1 < size; ++marker) {
        if (bytes[marker] != 0xFF || bytes[marker + 1] != 0xC4)
            continue;
        long left = (byteAt(marker + 2) << 8 | byteAt(marker + 3)) - 2;
        size_t table = marker + 4;
        while (left > 0 && table < size) {
            long codes = 0;
            for (size_t i = 1; i <= 16; ++i)
                codes += byteAt(table + i);
            if (codes > 256)
                return false;
            table += 17 + size_t(codes);
            left -= 17 + codes;
        }
    }
    return true;
}

// Faults in a PNG's chunk structure that stb_image handles unsafely; null when there are none.
//   - It grows its buffer for the image data to the length each data chunk declares before it
//     reads the chunk, so a few hundred bytes that claim a gigabyte cost a gigabyte (and on a
//     32-bit machine, the address space). A chunk can never hold more bytes than the file has
//     left after its own header.
//   - An empty data chunk before any with bytes has it copy zero bytes into a buffer it has not
//     yet made, a null pointer. Encoders write no such chunk.
const char* pngChunkFault(const uint8_t* bytes, size_t size)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size < sizeof signature || std::memcmp(bytes, signature, sizeof signature) != 0)
        return nullptr;  // not a PNG
    bool imageDataSeen = false;
    // Each chunk: a 4-byte big-endian length, a 4-byte type, the data, a 4-byte checksum.
    for (size_t chunk = sizeof signature; size - chunk >= 8;) {
        const uint64_t length = uint64_t(bytes[chunk]) << 24 | uint64_t(bytes[chunk + 1]) << 16 |
                                uint64_t(bytes[chunk + 2]) << 8 | uint64_t(bytes[chunk + 3]);
        if (length > size - chunk - 8)
            return "PNG chunk longer than the file";
        if (std::memcmp(bytes + chunk + 4, "IEND", 4) == 0)
            break;
        if (std::memcmp(bytes + chunk + 4, "IDAT", 4) == 0) {
            if (length == 0 && !imageDataSeen)
                return "PNG image data begins with an empty chunk";
            imageDataSeen = true;
        }
        chunk += 8 + size_t(length);
        if (size - chunk < 4)
            break;  // the checksum is cut off: the decoder reports that itself
        chunk += 4;
    }
    return nullptr;
}

}  // namespace

bool decodeImage(const uint8_t* bytes, size_t size, DecodedImage& image, std::string& error, int maxSide)
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
    if (const char* fault = pngChunkFault(bytes, size)) {
        error = fault;
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, int(size), &width, &height, &channels)) {
        error = stbi_failure_reason() ? stbi_failure_reason() : "not a PNG or JPEG image";
        return false;
    }
    int largestSide = maxSide < decoderMaxImageSide ? maxSide : decoderMaxImageSide;
    if (width <= 0 || height <= 0 || width > largestSide || height > largestSide) {
        error = "image size " + std::to_string(width) + " x " + std::to_string(height) + " outside 1 to " +
                std::to_string(largestSide);
        return false;
    }
    if (channels < 1 || channels > 4) {
        error = "channel count " + std::to_string(channels) + " outside 1 to 4";
        return false;
    }
    // Both sides are at most 2^24 and channels at most 4: the product fits 64 bits.
    uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * uint64_t(channels);
    if (pixelBytes > maxImageBytes) {
        error = "image size " + std::to_string(width) + " x " + std::to_string(height) + " x " +
                std::to_string(channels) + " bytes over the limit of " + std::to_string(maxImageBytes >> 20) + " MiB";
        return false;
    }
    int headerWidth = width, headerHeight = height, headerChannels = channels;
    uint8_t* pixels = stbi_load_from_memory(bytes, int(size), &width, &height, &channels, 0);
    if (!pixels) {
        error = stbi_failure_reason() ? stbi_failure_reason() : "corrupt image data";
        return false;
    }
    image.pixels.reset(pixels);
    // The checks above hold for the decoded image only if it is the one the header described.
    if (width != headerWidth || height != headerHeight || channels != headerChannels) {
        error = "decoded image differs from its header";
        image = DecodedImage();
        return false;
    }
    image.width = width;
    image.height = height;
    image.channels = channels;
    return true;
}
