#include "stone_scatter.h"

#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

struct Stone {
    float x, y;         // centre, in texels
    float radius;       // in texels
    float squash;       // short axis over long axis
    float angle;        // of the long axis
    float lobes[3][2];  // outline wobble: amplitude and phase of harmonics 2, 3 and 5
    float buried;       // share of the stone's height below the soil
    float grey, warmth;
};

Stone makeStone(TextureRandom& random, float x, float y, float radius)
{
    Stone stone{};
    stone.x = x;
    stone.y = y;
    stone.radius = radius;
    stone.squash = random.range(0.55f, 1.0f);
    stone.angle = random.range(0.0f, pi);
    const float wobble[3] = {0.12f, 0.08f, 0.04f};
    for (int k = 0; k < 3; ++k) {
        stone.lobes[k][0] = random.range(0.0f, wobble[k]);
        stone.lobes[k][1] = random.range(0.0f, 2.0f * pi);
    }
    stone.buried = random.range(0.2f, 0.65f);
    // Mostly mid greys, now and then a pale or a dark one.
    float g = random.unit();
    stone.grey = 0.5f + 0.5f * (g - 0.5f) * std::fabs(g - 0.5f) * 4.0f;
    stone.warmth = random.range(-1.0f, 1.0f);
    return stone;
}

// The stone's outline radius (relative) in the direction `theta` of its own frame.
float outline(const Stone& stone, float theta)
{
    const int harmonic[3] = {2, 3, 5};
    float r = 1.0f;
    for (int k = 0; k < 3; ++k)
        r += stone.lobes[k][0] * std::cos(float(harmonic[k]) * theta + stone.lobes[k][1]);
    return r;
}

size_t indexOf(int x, int y, int size)
{
    return size_t(((y % size) + size) % size) * size_t(size) + size_t(((x % size) + size) % size);
}

void placeStone(const Stone& stone, const std::vector<float>& soil, HeightField& ground, StoneCover& cover)
{
    const int size = ground.size;
    // A rounded top, flatter than a hemisphere: stones lie on their broad side.
    const float heightOf = stone.radius * 0.8f;
    float soilLevel = soil[indexOf(int(stone.x), int(stone.y), size)];
    const float skirt = 1.7f;
    int reach = int(std::ceil(stone.radius * skirt * 1.2f)) + 1;
    float c = std::cos(stone.angle), s = std::sin(stone.angle);
    for (int oy = -reach; oy <= reach; ++oy)
        for (int ox = -reach; ox <= reach; ++ox) {
            int x = int(stone.x) + ox, y = int(stone.y) + oy;
            float px = float(x) + 0.5f - stone.x, py = float(y) + 0.5f - stone.y;
            float a = (px * c + py * s) / stone.radius;
            float b = (-px * s + py * c) / (stone.radius * stone.squash);
            float r = std::sqrt(a * a + b * b) / outline(stone, std::atan2(b, a));
            size_t at = indexOf(x, y, size);
            float& height = ground.at(x, y);
            if (r < 1.0f) {
                float top = soilLevel + heightOf * (std::pow(1.0f - r * r, 0.35f) - stone.buried);
                if (top > height) {
                    // Just above the soil line a stone still wears the dust it rose through.
                    float clear = std::clamp((top - soil[at]) / (0.25f * heightOf), 0.0f, 1.0f);
                    height = top;
                    cover.bare[at] = clear;
                    cover.rise[at] = 1.0f - r * r;
                    cover.grey[at] = stone.grey;
                    cover.warmth[at] = stone.warmth;
                }
            } else if (r < skirt) {
                // Soil banked against the stone's foot, and the shade it sits in.
                float t = (skirt - r) / (skirt - 1.0f);
                float bank = t * t * (3.0f - 2.0f * t);
                height = std::max(height, soilLevel + bank * heightOf * 0.12f + (height - soilLevel) * (1.0f - bank));
                cover.contact[at] = std::max(cover.contact[at], bank);
            }
        }
}

}  // namespace

StoneCover scatterStones(HeightField& ground, uint64_t seed)
{
    const int size = ground.size;
    const float tile = float(size);
    const size_t count = size_t(size) * size_t(size);
    StoneCover cover{std::vector<float>(count, 0.0f), std::vector<float>(count, 0.0f), std::vector<float>(count, 0.5f),
                     std::vector<float>(count, 0.0f), std::vector<float>(count, 0.0f)};
    const std::vector<float> soil = ground.heights;

    TextureRandom random(seed);
    std::vector<Stone> stones;
    // Clusters: a few larger stones near the middle, many small ones spread around them.
    const int clusters = 70;
    for (int i = 0; i < clusters; ++i) {
        float cx = random.range(0.0f, tile), cy = random.range(0.0f, tile);
        float spread = tile * random.range(0.006f, 0.022f);
        int members = 4 + int(random.unit() * random.unit() * 40.0f);
        for (int m = 0; m < members; ++m) {
            // A normal offset (Box-Muller) keeps the cluster dense at its heart.
            float r1 = std::max(random.unit(), 1e-6f), r2 = random.unit();
            float distance = spread * std::sqrt(-2.0f * std::log(r1));
            float x = cx + distance * std::cos(2.0f * pi * r2), y = cy + distance * std::sin(2.0f * pi * r2);
            float nearHeart = std::exp(-distance / spread);
            float t = random.unit();
            float radius = tile * (0.0016f + 0.0075f * t * t * (0.3f + 0.7f * nearHeart));
            stones.push_back(makeStone(random, x, y, radius));
        }
    }
    // Grit: small stones everywhere, thin enough on the ground not to form a pattern.
    const int grit = 1400;
    for (int i = 0; i < grit; ++i) {
        float x = random.range(0.0f, tile), y = random.range(0.0f, tile);
        float radius = tile * random.range(0.0008f, 0.002f);
        stones.push_back(makeStone(random, x, y, radius));
    }
    for (const Stone& stone : stones)
        placeStone(stone, soil, ground, cover);
    return cover;
}
