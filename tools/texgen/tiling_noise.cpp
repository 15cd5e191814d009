#include "tiling_noise.h"

#include <stb/stb_perlin.h>

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
        sum += amplitude * stb_perlin_noise3(u * float(cells), v * float(cellsV), seed + float(octave) * 7.31f,
                                             cells, cellsV, 0);
        total += amplitude;
        amplitude *= 0.5f;
        cells *= 2;
    }
    return total > 0.0f ? sum / total : 0.0f;
}
