#include "generators.h"
#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

namespace {

// One scratch: a straight groove of `width` texels and `depth`, from (x0, y0) along
// (dx, dy) for `length` texels, fading in and out along its length. Drawn with wrap-around.
void carveScratch(HeightField& field, std::vector<float>& wear, float x0, float y0, float angle, float length,
                  float width, float depth)
{
    float dx = std::cos(angle), dy = std::sin(angle);
    int steps = int(length);
    int reach = int(std::ceil(width)) + 1;
    for (int step = 0; step <= steps; ++step) {
        float along = float(step) / float(steps);
        float fade = std::sin(along * 3.14159265f);
        float cx = x0 + dx * float(step), cy = y0 + dy * float(step);
        for (int oy = -reach; oy <= reach; ++oy)
            for (int ox = -reach; ox <= reach; ++ox) {
                int px = int(std::floor(cx)) + ox, py = int(std::floor(cy)) + oy;
                // Distance across the groove only, so overlapping steps do not add up.
                float across = std::fabs((float(px) + 0.5f - cx) * -dy + (float(py) + 0.5f - cy) * dx);
                if (across > width)
                    continue;
                float profile = 1.0f - (across / width) * (across / width);
                float& h = field.at(px, py);
                h = std::min(h, -depth * fade * profile);
                int wx = ((px % field.size) + field.size) % field.size;
                int wy = ((py % field.size) + field.size) % field.size;
                float& w = wear[size_t(wy) * size_t(field.size) + size_t(wx)];
                w = std::max(w, fade * profile);
            }
    }
}

}  // namespace

TextureImage makeScratchedMetal(int size)
{
    // Stage 1: brushed grain, fine across the brushing (v) and long along it (u).
    HeightField grain(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (float(x) + 0.5f) / float(size), v = (float(y) + 0.5f) / float(size);
            grain.at(x, y) = 0.35f * tilingFbm(u, v, 4, 5, 1.0f, 16) + 0.1f * tilingFbm(u, v, 8, 4, 5.0f);
        }

    // Stage 2: scratches, mostly short and fine, a few long ones, in all directions. The short
    // ones are shallow: seen down the tube, each shrinks to a texel or two of the map's smaller
    // levels, and a deep one there is a dark or bright speck on the far wall, not a scratch.
    // The long ones are rare and barely deeper: near the lens each crosses the frame as a hard
    // hairline, which reads as dirt on the lens rather than wear on the wall.
    HeightField scratches(size);
    std::vector<float> wear(size_t(size) * size_t(size), 0.0f);
    TextureRandom random(0x5C2A7C4E5ull);
    int count = size / 4;
    for (int i = 0; i < count; ++i) {
        bool longOne = random.unit() < 0.06f;
        float length = float(size) * (longOne ? random.range(0.3f, 0.7f) : random.range(0.04f, 0.14f));
        carveScratch(scratches, wear, random.range(0.0f, float(size)), random.range(0.0f, float(size)),
                     random.range(0.0f, 6.2831853f), length, random.range(0.8f, longOne ? 2.2f : 1.6f),
                     longOne ? random.range(0.3f, 0.7f) : random.range(0.25f, 0.6f));
    }

    // Stage 3: the tube's build. The wall is corrugated around the tube, eight waves a tile
    // (about two a unit). The waves' flanks tip the wall's normal up to about 35 degrees
    // towards and away from the camera, off the bright rim of the studio environment and back,
    // so the rings read from the middle of the tube as dark and bright bands that run past with
    // the scroll. No seam runs along the plates: a groove that narrow catches the light on every
    // rib's crest, a dotted line across the wall.
    const int wavesPerTile = 8;
    const float waveHeight = 0.7f * (float(size) / float(wavesPerTile)) / 6.2831853f;
    HeightField build(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            build.at(x, y) = waveHeight * std::cos(6.2831853f * float(wavesPerTile) * (float(y) + 0.5f) / float(size));

    // Stage 4: normals from the sum, roughness from the wear of the scratches and the grain.
    HeightField height(size);
    for (size_t i = 0; i < height.heights.size(); ++i)
        height.heights[i] = grain.heights[i] + scratches.heights[i] + build.heights[i];
    TextureImage image(size, 4);
    writeNormals(height, 0.9f, image);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float roughness = 0.22f + 0.1f * grain.at(x, y) + 0.5f * wear[size_t(y) * size_t(size) + size_t(x)];
            image.at(x, y)[3] = std::clamp(roughness, 0.05f, 1.0f);
        }
    return image;
}
