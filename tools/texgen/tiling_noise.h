#pragma once
// Deterministic randomness and noise that tiles: the same seed gives the same numbers on every
// run, and every noise field repeats exactly over the unit square.
#include <cstdint>

// SplitMix64: a small, well-mixed generator whose sequence is fixed by its seed.
class TextureRandom {
public:
    explicit TextureRandom(uint64_t seed) : state(seed) {}
    uint64_t next();
    float unit();                    // [0, 1)
    float range(float low, float high);

private:
    uint64_t state;
};

// Fractal Perlin noise over the unit square, tiling at u, v = 0 and 1. `cells` is the
// lattice count of the first octave across the square (a power of two up to 256); each of
// the `octaves` doubles it and halves the amplitude. `stretch` scales the lattice along v
// only (for brushed, anisotropic grain). Result roughly in [-1, 1].
float tilingFbm(float u, float v, int cells, int octaves, float seed, int stretch = 1);
