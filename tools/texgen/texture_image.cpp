#include "texture_image.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

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

bool saveTexture(const TextureImage& image, const std::string& path)
{
    std::vector<uint8_t> bytes(image.values.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(std::lround(std::clamp(image.values[i], 0.0f, 1.0f) * 255.0f));
    bool jpeg = path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0;
    if (jpeg)
        return stbi_write_jpg(path.c_str(), image.size, image.size, image.channels, bytes.data(), 92) != 0;
    return stbi_write_png(path.c_str(), image.size, image.size, image.channels, bytes.data(),
                          image.size * image.channels) != 0;
}
