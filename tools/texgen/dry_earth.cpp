#include "generators.h"
#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

namespace {

float smooth(float edge0, float edge1, float x)
{
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Distance to the nearest and second-nearest of a tiling set of cell points: the cracks of
// dried mud run where the two are nearly equal.
void crackDistance(float u, float v, int cells, uint64_t seed, float& nearest, float& second)
{
    nearest = second = 10.0f;
    int cx = int(std::floor(u * float(cells))), cy = int(std::floor(v * float(cells)));
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            int x = cx + ox, y = cy + oy;
            int wx = ((x % cells) + cells) % cells, wy = ((y % cells) + cells) % cells;
            TextureRandom cell(seed ^ (uint64_t(wy) * 1024u + uint64_t(wx)) * 0x9E3779B97F4A7C15ull);
            float px = (float(x) + 0.15f + 0.7f * cell.unit()) / float(cells);
            float py = (float(y) + 0.15f + 0.7f * cell.unit()) / float(cells);
            float d = std::hypot(px - u, py - v) * float(cells);
            if (d < nearest) {
                second = nearest;
                nearest = d;
            } else if (d < second) {
                second = d;
            }
        }
}

}  // namespace

void makeDryEarth(int size, TextureImage& colour, TextureImage& normals)
{
    HeightField height(size);
    std::vector<float> stone(size_t(size) * size_t(size), 0.0f);   // 0 earth, 1 pebble
    std::vector<float> tone(size_t(size) * size_t(size), 0.0f);

    // Stage 1: the earth, a low rolling surface cut by a network of shallow cracks.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (float(x) + 0.5f) / float(size), v = (float(y) + 0.5f) / float(size);
            float nearest, second;
            crackDistance(u, v, 8, 0xD1127ull, nearest, second);
            float crack = 1.0f - smooth(0.0f, 0.08f, second - nearest);
            float ground = 2.0f * tilingFbm(u, v, 4, 6, 11.0f);
            height.at(x, y) = ground - 2.5f * crack;
            tone[size_t(y) * size_t(size) + size_t(x)] = tilingFbm(u, v, 8, 5, 23.0f) - 0.6f * crack;
        }

    // Stage 2: gravel, rounded pebbles lying on the earth, placed with wrap-around.
    TextureRandom random(0x62A7E1ull);
    int pebbles = size * 3 / 4;
    for (int i = 0; i < pebbles; ++i) {
        float cx = random.range(0.0f, float(size)), cy = random.range(0.0f, float(size));
        float radius = float(size) / 512.0f * random.range(2.0f, 7.0f);
        float squash = random.range(0.6f, 1.0f), angle = random.range(0.0f, 3.1415927f);
        float shade = random.range(-0.5f, 0.5f);
        int reach = int(std::ceil(radius)) + 1;
        for (int oy = -reach; oy <= reach; ++oy)
            for (int ox = -reach; ox <= reach; ++ox) {
                float px = float(int(cx) + ox) + 0.5f - cx, py = float(int(cy) + oy) + 0.5f - cy;
                float a = (px * std::cos(angle) + py * std::sin(angle)) / radius;
                float b = (-px * std::sin(angle) + py * std::cos(angle)) / (radius * squash);
                float r2 = a * a + b * b;
                if (r2 >= 1.0f)
                    continue;
                float dome = std::sqrt(1.0f - r2) * radius * 0.9f;
                int x = ((int(cx) + ox) % size + size) % size, y = ((int(cy) + oy) % size + size) % size;
                size_t at = size_t(y) * size_t(size) + size_t(x);
                if (dome + 1.0f > height.at(x, y)) {
                    height.at(x, y) = std::max(height.at(x, y), dome + 1.0f);
                    stone[at] = 1.0f;
                    tone[at] = shade;
                }
            }
    }

    // Stage 3: colour from the earth's tone, darker in cracks, grey-brown pebbles; normals from
    // the height field.
    colour = TextureImage(size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            size_t at = size_t(y) * size_t(size) + size_t(x);
            float t = tone[at];
            float earth[3] = {0.55f + 0.12f * t, 0.42f + 0.1f * t, 0.28f + 0.07f * t};
            float rock[3] = {0.48f + 0.15f * t, 0.45f + 0.14f * t, 0.41f + 0.12f * t};
            float* pixel = colour.at(x, y);
            for (int c = 0; c < 3; ++c)
                pixel[c] = stone[at] > 0.0f ? rock[c] : earth[c];
        }
    normals = TextureImage(size, 3);
    writeNormals(height, 0.6f, normals);
}
