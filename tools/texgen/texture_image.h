#pragma once
// A square image of float channels in [0, 1] being generated, and its output as 8-bit PNG or
// JPEG. Row 0 is written first (it is at texture coordinate t = 0 in the show).
#include <string>
#include <vector>

struct TextureImage {
    int size = 0;      // width and height in pixels
    int channels = 0;  // 1 to 4
    std::vector<float> values;

    TextureImage(int sizeInPixels, int channelCount)
        : size(sizeInPixels), channels(channelCount),
          values(size_t(sizeInPixels) * size_t(sizeInPixels) * size_t(channelCount), 0.0f)
    {}

    float* at(int x, int y) { return &values[(size_t(y) * size_t(size) + size_t(x)) * size_t(channels)]; }
};

// A height field that wraps at its edges, `size` by `size`.
struct HeightField {
    int size = 0;
    std::vector<float> heights;

    explicit HeightField(int sizeInPixels)
        : size(sizeInPixels), heights(size_t(sizeInPixels) * size_t(sizeInPixels), 0.0f)
    {}

    float& at(int x, int y)
    {
        x = ((x % size) + size) % size;
        y = ((y % size) + size) % size;
        return heights[size_t(y) * size_t(size) + size_t(x)];
    }
};

// Tangent-space normals of a wrapping height field (heights in texels of the same scale times
// `strength`), encoded as n * 0.5 + 0.5 into channels 0 to 2 of `image`. +x is along the rows
// (increasing s), +y along increasing t, +z out of the surface.
void writeNormals(HeightField& field, float strength, TextureImage& image);

// Quantises to 8 bits (rounding, clamped) and writes a PNG (stored, unfiltered: quick to
// decode) or, for a ".jpg" path, a JPEG of
// quality 92. False when the file cannot be written.
bool saveTexture(const TextureImage& image, const std::string& path);
