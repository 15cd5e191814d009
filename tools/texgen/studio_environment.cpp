#include "generators.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 normalised(Vec3 v)
{
    float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A soft light's lobe on the sphere: 1 facing it, falling off smoothly to 0 at `spread`
// (cosine of the half angle where it ends).
float lobe(Vec3 n, Vec3 toLight, float spread)
{
    float facing = (dot(n, toLight) - spread) / (1.0f - spread);
    facing = std::clamp(facing, 0.0f, 1.0f);
    return facing * facing * (3.0f - 2.0f * facing);
}

// The key light's lobe: as broad as `lobe`, but half of it a plain square of the facing term,
// which keeps rising all the way to the centre, so that a lit sphere shows a gradient into its
// highlight rather than a flat disc.
float peakedLobe(Vec3 n, Vec3 toLight, float spread)
{
    float facing = std::clamp((dot(n, toLight) - spread) / (1.0f - spread), 0.0f, 1.0f);
    return 0.5f * lobe(n, toLight, spread) + 0.5f * facing * facing;
}

// Where the lights add up past `knee` (the key and the rim meeting at the upper left), the
// colour is scaled down smoothly towards `ceiling`: brighter still reads brighter, but nothing
// reaches the top of the 8-bit range. Scaling all three channels together keeps the hue.
Vec3 softShoulder(Vec3 c)
{
    const float knee = 0.82f, ceiling = 0.97f;
    float high = std::max({c.x, c.y, c.z});
    if (high <= knee)
        return c;
    float room = ceiling - knee;
    float scale = (knee + room * (1.0f - std::exp(-(high - knee) / room))) / high;
    return {c.x * scale, c.y * scale, c.z * scale};
}

}  // namespace

TextureImage makeStudioEnvironment(int size)
{
    const Vec3 key = normalised({-0.6f, 0.7f, 0.5f});
    const Vec3 fill = normalised({0.8f, 0.1f, 0.4f});
    const Vec3 keyColour = {0.8f, 0.71f, 0.58f}, fillColour = {0.2f, 0.26f, 0.38f};
    const Vec3 rimColour = {0.3f, 0.32f, 0.36f};
    TextureImage image(size, 3);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            // Row 0 is t = 0, the normal facing down; texels outside the disc take the rim's
            // normal so that filtering near the edge sees no seam.
            float nx = (float(column) + 0.5f) / float(size) * 2.0f - 1.0f;
            float ny = (float(row) + 0.5f) / float(size) * 2.0f - 1.0f;
            float radius = std::sqrt(nx * nx + ny * ny);
            if (radius > 1.0f) {
                nx /= radius;
                ny /= radius;
            }
            Vec3 n = {nx, ny, std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny))};

            // Base: a dim studio, lighter overhead, a dark warm-grey floor below the horizon.
            float up = n.y;
            float base = 0.14f + 0.08f * up;
            Vec3 colour = {base, base, base * 1.05f};
            if (up < 0.0f) {
                float floorMix = std::min(1.0f, -up * 4.0f);
                colour = {colour.x * (1.0f - 0.55f * floorMix) + 0.02f * floorMix,
                          colour.y * (1.0f - 0.6f * floorMix) + 0.015f * floorMix,
                          colour.z * (1.0f - 0.65f * floorMix) + 0.01f * floorMix};
            }
            float keyLight = peakedLobe(n, key, -0.2f);
            float fillLight = lobe(n, fill, 0.0f) * 0.8f;
            float rim = std::pow(1.0f - n.z, 4.0f) * (0.6f + 0.4f * std::max(0.0f, up));
            colour.x += keyColour.x * keyLight + fillColour.x * fillLight + rimColour.x * rim;
            colour.y += keyColour.y * keyLight + fillColour.y * fillLight + rimColour.y * rim;
            colour.z += keyColour.z * keyLight + fillColour.z * fillLight + rimColour.z * rim;
            colour = softShoulder(colour);
            float* pixel = image.at(column, row);
            pixel[0] = colour.x;
            pixel[1] = colour.y;
            pixel[2] = colour.z;
        }
    return image;
}
