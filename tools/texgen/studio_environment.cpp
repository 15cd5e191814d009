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

// A soft box seen from the middle of the studio: full brightness within `inner` (cosine of
// the half angle), fading smoothly to nothing at `outer`.
float softBox(Vec3 n, Vec3 toLight, float inner, float outer)
{
    float facing = std::clamp((dot(n, toLight) - outer) / (inner - outer), 0.0f, 1.0f);
    return facing * facing * (3.0f - 2.0f * facing);
}

struct SoftBox {
    Vec3 direction;
    float inner, outer;  // cosines of the half angles
    Vec3 colour;         // texel values; 1 is the brightest the file holds
};

}  // namespace

// A photographer's studio as a lit sphere: a dark surround (five stops under the lights) and a
// few large soft boxes and strips placed where the tunnel's walls see them. The walls' normals lie near the sphere's
// rim (they face the tube's axis, across the view), so the lights sit there, at different angles around it: each
// becomes a bright band along the wall, and every groove of the wall's relief catches and loses it.
TextureImage makeStudioEnvironment(int size)
{
    const SoftBox boxes[] = {
        {normalised({-0.78f, 0.52f, 0.34f}), 0.985f, 0.94f, {1.0f, 0.94f, 0.84f}},    // key, upper left
        {normalised({0.90f, -0.05f, 0.42f}), 0.985f, 0.95f, {0.62f, 0.70f, 0.82f}},   // cool strip, right
        {normalised({0.10f, 0.96f, 0.25f}), 0.99f, 0.965f, {0.85f, 0.85f, 0.85f}},    // overhead strip
        {normalised({-0.35f, -0.88f, 0.33f}), 0.975f, 0.93f, {0.30f, 0.22f, 0.15f}},  // warm floor bounce
        {normalised({0.50f, 0.45f, 0.74f}), 0.995f, 0.985f, {0.75f, 0.75f, 0.72f}},   // small kicker
    };
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

            // Surround: one dark grey all round, floor included. The driver stores this texture
            // compressed, in blocks of two 5-6-5-bit colours: a grey that is not a whole step
            // of the 5-bit channels comes back green, which the intro's high exposures would
            // show, so the surround is exactly one step (1/31): darker than that is black, and
            // a black floor leaves the walls' lower halves without fill.
            float surround = 1.0f / 31.0f;
            Vec3 colour = {surround, surround, surround};
            for (const SoftBox& box : boxes) {
                float light = softBox(n, box.direction, box.inner, box.outer);
                colour.x += box.colour.x * light;
                colour.y += box.colour.y * light;
                colour.z += box.colour.z * light;
            }
            float* pixel = image.at(column, row);
            pixel[0] = std::min(colour.x, 1.0f);
            pixel[1] = std::min(colour.y, 1.0f);
            pixel[2] = std::min(colour.z, 1.0f);
        }
    return image;
}
