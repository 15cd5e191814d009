#pragma once
// A network of shrinkage cracks over the unit square, tiling: the borders of a jittered cell
// pattern (one point per lattice cell, each texel belonging to its nearest point). Every
// border between two cells is a crack of its own width, drawn from a range skewed towards
// thin ones, so one network holds a few wide cracks among many fine ones; a border may also
// be left closed, which breaks the pattern into irregular, partly joined plates.
#include <cstdint>
#include <vector>

struct CrackSample {
    float depth = 0.0f;           // 0 on the plate, up to 1 at the floor of the widest crack
    float borderDistance = 0.0f;  // to the nearest border, open or closed, in tile units
    uint32_t cell = 0;            // the plate the point lies on
};

struct CrackShape {
    float narrowest = 0.0f;  // half-widths of the cracks, in tile units
    float widest = 0.0f;
    float openShare = 1.0f;  // share of borders that are cracks at all
    // The narrowest half-width drawn, in tile units: a thinner crack is drawn this wide and as
    // much shallower, so that where it is finer than the texture's texels it stays one faint,
    // unbroken line instead of falling apart into the texels whose centres it happens to cross.
    float finestDrawn = 0.0f;
};

class CrackNetwork {
public:
    // `cells` lattice cells across the tile; the seed fixes points and widths.
    CrackNetwork(int cells, uint64_t seed, CrackShape shape);

    // The network at (u, v), any range; `widthScale` varies a crack's width along its length.
    CrackSample sample(float u, float v, float widthScale) const;

private:
    struct Point {
        float x, y;  // inside its lattice cell, in cell units
    };
    const Point& pointOf(int x, int y) const;
    float halfWidthOf(uint32_t cellA, uint32_t cellB) const;
    uint32_t idOf(int x, int y) const;

    int cells_;
    uint64_t seed_;
    CrackShape shape_;
    std::vector<Point> points_;
    std::vector<float> borders_;  // per cell, the half-widths towards its 3 x 3 neighbours
};
