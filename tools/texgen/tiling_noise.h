#pragma once
// Deterministic randomness and noise that tiles: the same seed gives the same numbers on every
// run, and every noise field repeats exactly over the unit square.
#include <cstddef>
#include <cstdint>
#include <vector>

// SplitMix64: a small, well-mixed generator whose sequence is fixed by its seed.
class TextureRandom {
public:
    explicit TextureRandom(uint64_t seed) : state(seed) {}
    uint64_t next();
    float unit();  // [0, 1)
    float range(float low, float high);

private:
    uint64_t state;
};

// Fractal Perlin noise over the unit square, tiling at u, v = 0 and 1. `cells` is the
// lattice count of the first octave across the square (a power of two up to 256); each of
// the `octaves` doubles it and halves the amplitude. `stretch` scales the lattice along v
// only (for brushed, anisotropic grain). Result roughly in [-1, 1].
float tilingFbm(float u, float v, int cells, int octaves, float seed, int stretch = 1);

// A hash of a texel's integer coordinates to [0, 1): per-texel grain that needs no state and
// tiles by construction when the coordinates are already wrapped.
float texelHash(uint32_t x, uint32_t y, uint32_t seed);

// A scalar field over the unit square, stored at `resolution` x `resolution` samples and read
// back with bilinear filtering that wraps at the edges. Smooth, low-frequency fields are
// evaluated once on this coarser grid instead of at every texel of a large texture.
class TilingField {
public:
    template <typename Function>
    TilingField(int resolution, Function valueAt)
        : resolution_(resolution), values_(size_t(resolution) * size_t(resolution))
    {
        for (int y = 0; y < resolution; ++y)
            for (int x = 0; x < resolution; ++x)
                values_[size_t(y) * size_t(resolution) + size_t(x)] =
                    valueAt(float(x) / float(resolution), float(y) / float(resolution));
    }

    // (u, v) in any range: the field repeats over every unit square.
    float sample(float u, float v) const;

private:
    int resolution_;
    std::vector<float> values_;
};

// White noise over a `size` x `size` texture, box-blurred twice over `radius` texels with
// wrap-around and scaled to a standard deviation of about 1: a grain with no lattice in it,
// unlike Perlin noise at a few texels per cell.
std::vector<float> blurredTexelNoise(int size, int radius, uint32_t seed);
