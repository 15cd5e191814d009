#pragma once
// Stones lying in dry earth: gathered in clusters of a few large and many small ones, with
// fine grit scattered between, each sunk part-way into the ground so that the soil laps at
// its sides.
#include "texture_image.h"

#include <cstdint>
#include <vector>

// What the stones leave per texel of the ground, row by row.
struct StoneCover {
    std::vector<float> bare;     // 0 soil, 1 clean stone; between, stone under a film of dust
    std::vector<float> rise;     // on a stone, 0 at its outline to 1 over its middle
    std::vector<float> grey;     // the stone's own lightness, 0 dark to 1 pale
    std::vector<float> warmth;   // -1 cool grey to 1 warm, the stone's tint
    std::vector<float> contact;  // 0 away from stones, up to 1 where soil meets a stone's foot
};

// Raises `ground` (heights in texels) where stones break through and heaps soil around
// their feet. Sizes are fractions of the tile, so the same stones appear at any resolution.
StoneCover scatterStones(HeightField& ground, uint64_t seed);
