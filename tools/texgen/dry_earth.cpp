// Dry, cracked earth seen from standing height: plates of dried soil split by a network of
// cracks at three scales (a few wide ones, many fine ones, hairlines in places), a grain of
// sand and crumbs over everything, and stones lying in clusters, half sunk into the soil. The
// colour and the normal map come from the same fields, so every crack and stone in the one
// lines up with its relief in the other. Everything tiles over the unit square.
#include "crack_network.h"
#include "generators.h"
#include "parallel_rows.h"
#include "stone_scatter.h"
#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

namespace {

float smooth(float edge0, float edge1, float x)
{
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

// Soil colours (sRGB): grey-brown dried silt. Kept close to grey because the show's sun is
// strongly warm; a browner soil turns orange under it. Dark and pale lie more than two stops
// apart and the crack floors are near black, so that the patches and cracks still read where the flash's exposure
// crowds the bright end.
const float darkSoil[3] = {0.15f, 0.143f, 0.125f};
const float paleSoil[3] = {0.48f, 0.465f, 0.42f};
const float crackFloor[3] = {0.035f, 0.031f, 0.026f};

// The three crack scales, in cells across the tile. The widest cracks are a few centimetres
// at the show's scale (the tile spans eight metres of ground).
const int majorCells = 16, minorCells = 42, hairlineCells = 110;

struct EarthFields {
    TilingField warpU, warpV, fineWarpU, fineWarpV, widthScale, mottle, dust, relief;
};

EarthFields makeFields(int size)
{
    const int grid = std::min(size, 512);
    return {
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 8, 3, 3.1f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 8, 3, 17.9f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 64, 2, 29.3f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 64, 2, 41.7f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 32, 2, 5.5f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 4, 5, 61.2f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 8, 3, 73.4f); }),
        TilingField(grid, [](float u, float v) { return tilingFbm(u, v, 4, 4, 87.6f); }),
    };
}

// Per texel, what the colour pass needs from the relief pass.
struct SoilTexel {
    float crack;  // how deep in a crack, 0 to 1, all scales together
    float rim;    // 1 at the dry, crumbling edge of a plate
    float tone;   // the soil's own lightness, roughly -1 to 1
};

// The soil before the stones: its heights (in texels) and, per texel, what the colour needs.
struct SoilSurface {
    HeightField height;
    std::vector<SoilTexel> soil;
};

// Plates parted by cracks at three scales, on a gentle relief, with sand and crumbs.
SoilSurface shapeSoil(int size)
{
    // Heights are in texels at 2048 and scale with the size, so slopes (and the normal map)
    // look the same at any resolution.
    const float texel = float(size) / 2048.0f;
    const EarthFields fields = makeFields(size);
    // Crack widths are in tile units, so the cracks keep their size on the ground at any
    // resolution. The finest are narrower than a texel at 1024: they are drawn with at least
    // 0.7 texel on either side of their line, and as much fainter, so that they stay unbroken.
    const float finest = 0.7f / float(size);
    const CrackNetwork major(majorCells, 0xC7AC5ull, {0.0009f, 0.003f, 0.95f, finest});
    const CrackNetwork minor(minorCells, 0x31F0Dull, {0.0003f, 0.0009f, 0.62f, finest});
    // Sand and crumbs at one and a few texels: grain the eye reads as soil, not as a pattern.
    const std::vector<float> sand = blurredTexelNoise(size, 0, 7u);
    const std::vector<float> crumbs = blurredTexelNoise(size, std::max(1, size / 1024), 13u);
    const CrackNetwork hairline(hairlineCells, 0x4A1Bull, {0.00012f, 0.0003f, 0.5f, finest});

    SoilSurface surface{HeightField(size), std::vector<SoilTexel>(size_t(size) * size_t(size))};
    HeightField& height = surface.height;
    std::vector<SoilTexel>& soil = surface.soil;
    forEachRowInParallel(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = (float(x) + 0.5f) / float(size), v = (float(y) + 0.5f) / float(size);
            // Cracks wander: the wide ones bend over a plate's length, all of them jitter.
            float fu = 0.0025f * fields.fineWarpU.sample(u, v), fv = 0.0025f * fields.fineWarpV.sample(u, v);
            float wu = 0.03f * fields.warpU.sample(u, v) + fu, wv = 0.03f * fields.warpV.sample(u, v) + fv;
            float widthScale = 0.5f + 0.9f * smooth(-0.6f, 0.6f, fields.widthScale.sample(u, v));
            CrackSample big = major.sample(u + wu, v + wv, widthScale);
            CrackSample small = minor.sample(u + 0.4f * wu + fu, v + 0.4f * wv + fv, widthScale);
            // Hairlines only where the surface crust is thin and dusty.
            float dust = fields.dust.sample(u, v);
            float hairMask = smooth(-0.1f, 0.35f, dust);
            CrackSample hair = hairMask > 0.0f ? hairline.sample(u + 2.0f * fu, v + 2.0f * fv, 1.0f) : CrackSample{};

            // Each plate sits a little higher or lower than its neighbours.
            float plate = TextureRandom(0x9A7Eull + big.cell).range(-1.0f, 1.0f);
            size_t at = size_t(y) * size_t(size) + size_t(x);
            float grain = 0.18f * crumbs[at], crumb = 0.3f * sand[at];
            float openness = std::max({big.depth, small.depth * 0.75f, hair.depth * 0.4f * hairMask});
            float h = 10.0f * fields.relief.sample(u, v) + 1.2f * plate * (1.0f - openness) + 0.8f * grain +
                      0.35f * crumb - 7.0f * big.depth - 3.0f * small.depth - 1.0f * hair.depth * hairMask;
            height.at(x, y) = h * texel;

            SoilTexel& t = soil[at];
            t.crack = std::max({big.depth, 0.8f * small.depth, 0.5f * hair.depth * hairMask});
            t.rim = (1.0f - smooth(0.0f, 0.004f, big.borderDistance)) * (1.0f - big.depth);
            t.tone = 0.8f * fields.mottle.sample(u, v) + 0.25f * dust + 0.12f * plate + 0.5f * grain + 0.5f * crumb;
        }
    });
    return surface;
}

// The colour: soil from dark to pale by its tone, crack floors, and the stones over it.
void paintDryEarth(int size, const std::vector<SoilTexel>& soil, const StoneCover& stones, TextureImage& colour)
{
    colour = TextureImage(size, 3);
    forEachRowInParallel(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            size_t at = size_t(y) * size_t(size) + size_t(x);
            const SoilTexel& t = soil[at];
            float lightness = std::clamp(0.5f + 0.5f * t.tone + 0.18f * t.rim, 0.0f, 1.0f);
            float shade = 1.0f - 0.25f * stones.contact[at] * stones.contact[at];
            float speck = texelHash(uint32_t(x), uint32_t(y), 11u) - 0.5f;
            // Grime gathers where a stone's sides meet the ground.
            float stoneLight = mix(0.2f, 0.78f, stones.grey[at]) * (1.0f + 0.2f * speck) *
                               (0.82f + 0.18f * std::sqrt(stones.rise[at]));
            // Weathered stone takes on some of the soil's warmth.
            float stoneTint[3] = {stoneLight * (1.0f + 0.03f * stones.warmth[at]), stoneLight * 0.975f,
                                  stoneLight * (0.93f - 0.04f * stones.warmth[at])};
            float* pixel = colour.at(x, y);
            for (int c = 0; c < 3; ++c) {
                float earth = mix(darkSoil[c], paleSoil[c], lightness) * shade;
                earth = mix(earth, crackFloor[c], t.crack);
                pixel[c] = mix(earth, stoneTint[c], stones.bare[at]);
            }
        }
    });
}

}  // namespace

void makeDryEarth(int size, TextureImage& colour, TextureImage& normals)
{
    SoilSurface surface = shapeSoil(size);
    StoneCover stones = scatterStones(surface.height, 0x570E5ull);
    paintDryEarth(size, surface.soil, stones, colour);
    normals = TextureImage(size, 3);
    writeNormals(surface.height, 0.5f, normals);
}
