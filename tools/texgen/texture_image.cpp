#include "texture_image.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>

void writeNormals(HeightField& field, float strength, TextureImage& image)
{
    for (int y = 0; y < field.size; ++y)
        for (int x = 0; x < field.size; ++x) {
            float dx = (field.at(x + 1, y) - field.at(x - 1, y)) * 0.5f * strength;
            float dy = (field.at(x, y + 1) - field.at(x, y - 1)) * 0.5f * strength;
            float n[3] = {-dx, -dy, 1.0f};
            float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            float* pixel = image.at(x, y);
            for (int i = 0; i < 3; ++i)
                pixel[i] = n[i] / length * 0.5f + 0.5f;
        }
}

namespace {

uint32_t crc32Of(const uint8_t* bytes, size_t size, uint32_t crc = 0)
{
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    putBigEndian(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, crc32Of(out.data() + typeAt, out.size() - typeAt));
}

// A PNG whose image data is stored, not deflated, with no row filter. The show decodes these at
// start-up, where inflating and unfiltering a megapixel costs more than reading four times the
// bytes; the files are the same pixels either way.
bool writeStoredPng(const std::string& path, int size, int channels, const std::vector<uint8_t>& pixels)
{
    std::vector<uint8_t> raw;
    const size_t row = size_t(size) * size_t(channels);
    raw.reserve((row + 1) * size_t(size));
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), pixels.begin() + std::ptrdiff_t(row * size_t(y)),
                   pixels.begin() + std::ptrdiff_t(row * size_t(y + 1)));
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0;) {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(uint8_t(length));
        zlib.push_back(uint8_t(length >> 8));
        zlib.push_back(uint8_t(~length));
        zlib.push_back(uint8_t(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + std::ptrdiff_t(at), raw.begin() + std::ptrdiff_t(at + length));
        at += length;
        if (last)
            break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, b << 16 | a);

    static const uint8_t colourTypes[] = {0, 0, 4, 2, 6};  // by channel count
    std::vector<uint8_t> header;
    putBigEndian(header, uint32_t(size));
    putBigEndian(header, uint32_t(size));
    header.insert(header.end(), {8, colourTypes[channels], 0, 0, 0});
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", zlib);
    putChunk(file, "IEND", {});
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

bool saveTexture(const TextureImage& image, const std::string& path)
{
    std::vector<uint8_t> bytes(image.values.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(std::lround(std::clamp(image.values[i], 0.0f, 1.0f) * 255.0f));
    bool jpeg = path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0;
    if (jpeg)
        return stbi_write_jpg(path.c_str(), image.size, image.size, image.channels, bytes.data(), 92) != 0;
    return writeStoredPng(path, image.size, image.channels, bytes);
}
