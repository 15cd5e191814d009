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

// The studio's dark surround, by place on the lit sphere. The tunnel's walls face its axis, so
// their normals lie in the annulus near the sphere's rim; the wall's corrugation tips them
// inwards on its flanks (about 0.82 of the radius) and leaves them on the rim at its crests.
// So the surround is dark on the flanks and lighter towards the rim, and every rib of the
// wall reads as a light crest beside a dark groove at any exposure; around the rim, panels of
// different greys give the walls long bands of their own, and the flanks of the dimmest are black, so that as the
// exposure rises the panels whiten one after another while the darkest lag behind. The
// result is rounded to whole 5-bit steps: the driver stores this texture compressed, in blocks of two 5-6-5-bit
// colours, and a grey that is not a whole step comes back green, which the intro's high exposures would show.
float surroundLight(float radius, float angle)
{
    // Steps of 1/31 for twelve panels around the rim, starting on the right and turning
    // counter-clockwise (upwards first).
    static const float panels[12] = {5.0f, 2.0f, 1.0f, 3.0f, 1.0f, 4.0f, 1.0f, 2.0f, 1.0f, 3.0f, 1.0f, 2.0f};
    float place = angle / 6.2831853f * 12.0f;
    place -= std::floor(place / 12.0f) * 12.0f;
    int panel = int(place) % 12;
    float within = place - std::floor(place);
    // A panel's level fades to its neighbour's over the last fifth of it.
    float blend = std::clamp((within - 0.8f) / 0.2f, 0.0f, 1.0f);
    blend = blend * blend * (3.0f - 2.0f * blend);
    float level = panels[panel] + (panels[(panel + 1) % 12] - panels[panel]) * blend;
    float crest = std::clamp((radius - 0.84f) / (0.97f - 0.84f), 0.0f, 1.0f);
    crest = crest * crest * (3.0f - 2.0f * crest);
    // Inside the annulus (what faces the camera) one step of grey, the fill that keeps the
    // far end and any surface turned towards the eye out of black.
    float inner = 1.0f - std::clamp((radius - 0.62f) / 0.14f, 0.0f, 1.0f);
    float steps = inner * 1.0f + (1.0f - inner) * level * (0.3f + 0.7f * crest);
    // The flanks of the dimmest panels round to black; the ambient light's scattered term
    // whitens them as the intro burns out.
    return std::round(steps) / 31.0f;
}

}  // namespace

// A photographer's studio as a lit sphere: a dark, banded surround (above) and a few large soft
// boxes and strips placed where the tunnel's walls see them, each brighter along one edge than
// the other so that its reflection is a gradient rather than one flat white. The walls'
// normals lie near the sphere's rim (they face the tube's axis, across the view), so the lights
// sit there, at different angles around it: each becomes a bright band along the wall, and
// every groove of the wall's relief catches and loses it.
TextureImage makeStudioEnvironment(int size)
{
    const SoftBox boxes[] = {
        {normalised({-0.78f, 0.52f, 0.34f}), 0.985f, 0.94f, {1.0f, 0.94f, 0.84f}},    // key, upper left
        {normalised({0.90f, -0.05f, 0.42f}), 0.993f, 0.972f, {0.28f, 0.56f, 1.0f}},   // blue strip, right
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

            float surround = surroundLight(std::min(radius, 1.0f), std::atan2(ny, nx));
            Vec3 colour = {surround, surround, surround};
            for (const SoftBox& box : boxes) {
                float light = softBox(n, box.direction, box.inner, box.outer);
                // Across the box, from its lower right edge to its upper left one, the light
                // falls to a third.
                float across = std::clamp(0.5f + 4.0f * (nx - box.direction.x - (ny - box.direction.y)), 0.0f, 1.0f);
                light *= 1.0f - 0.65f * across;
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
