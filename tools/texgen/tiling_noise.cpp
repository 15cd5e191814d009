#include "tiling_noise.h"

#include <stb/stb_perlin.h>

#include <algorithm>
#include <cmath>

uint64_t TextureRandom::next()
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float TextureRandom::unit()
{
    return float(next() >> 40) / float(1ull << 24);
}

float TextureRandom::range(float low, float high)
{
    return low + unit() * (high - low);
}

float tilingFbm(float u, float v, int cells, int octaves, float seed, int stretch)
{
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    for (int octave = 0; octave < octaves && cells <= 256; ++octave) {
        int cellsV = cells * stretch > 256 ? 256 : cells * stretch;
        sum += amplitude *
               stb_perlin_noise3(u * float(cells), v * float(cellsV), seed + float(octave) * 7.31f, cells, cellsV, 0);
        total += amplitude;
        amplitude *= 0.5f;
        cells *= 2;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

float texelHash(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return float(h >> 8) / float(1u << 24);
}

float TilingField::sample(float u, float v) const
{
    float x = (u - std::floor(u)) * float(resolution_), y = (v - std::floor(v)) * float(resolution_);
    int x0 = int(x), y0 = int(y);
    float fx = x - float(x0), fy = y - float(y0);
    x0 %= resolution_;
    y0 %= resolution_;
    int x1 = (x0 + 1) % resolution_, y1 = (y0 + 1) % resolution_;
    auto at = [this](int column, int row) { return values_[size_t(row) * size_t(resolution_) + size_t(column)]; };
    float top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
    float bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
    return top + (bottom - top) * fy;
}

namespace {

int wrapIndex(int i, int size)
{
    return ((i % size) + size) % size;
}

// One box-blur pass along the rows, then one along the columns, each wrapping at the edges.
// The column pass keeps a running sum per column and walks down the rows, which reads the
// image in memory order.
void boxBlur(std::vector<float>& values, int size, int radius)
{
    const float scale = 1.0f / float(2 * radius + 1);
    std::vector<float> line(static_cast<size_t>(size));
    for (int y = 0; y < size; ++y) {
        float* row = &values[size_t(y) * size_t(size)];
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            sum += row[wrapIndex(i, size)];
        for (int x = 0; x < size; ++x) {
            line[size_t(x)] = sum * scale;
            sum += row[wrapIndex(x + radius + 1, size)] - row[wrapIndex(x - radius, size)];
        }
        std::copy(line.begin(), line.end(), row);
    }
    std::vector<float> sums(size_t(size), 0.0f), blurred(values.size());
    for (int i = -radius; i <= radius; ++i)
        for (int x = 0; x < size; ++x)
            sums[size_t(x)] += values[size_t(wrapIndex(i, size)) * size_t(size) + size_t(x)];
    for (int y = 0; y < size; ++y) {
        const float* entering = &values[size_t(wrapIndex(y + radius + 1, size)) * size_t(size)];
        const float* leaving = &values[size_t(wrapIndex(y - radius, size)) * size_t(size)];
        float* out = &blurred[size_t(y) * size_t(size)];
        for (int x = 0; x < size; ++x) {
            out[x] = sums[size_t(x)] * scale;
            sums[size_t(x)] += entering[x] - leaving[x];
        }
    }
    values.swap(blurred);
}

}  // namespace

std::vector<float> blurredTexelNoise(int size, int radius, uint32_t seed)
{
    std::vector<float> values(size_t(size) * size_t(size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            values[size_t(y) * size_t(size) + size_t(x)] = texelHash(uint32_t(x), uint32_t(y), seed) - 0.5f;
    for (int pass = 0; pass < 2 && radius > 0; ++pass)
        boxBlur(values, size, radius);
    double squares = 0.0;
    for (float value : values)
        squares += double(value) * double(value);
    float scale = float(1.0 / std::sqrt(squares / double(values.size()) + 1e-12));
    for (float& value : values)
        value *= scale;
    return values;
}
