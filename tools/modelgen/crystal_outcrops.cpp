#include "shapes.h"

#include "mesh_primitives.h"

#include <cmath>
#include <cstdint>

namespace {

// A fixed sequence of numbers in [0, 1): the outcrops come out the same on every build.
class Scatter {
public:
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) * (1.0f / 16777216.0f);
    }
    float between(float low, float high) { return low + (high - low) * next(); }

private:
    uint32_t state = 20261210u;
};

struct Outcrop {
    float x, z;     // where it breaks through the ground
    int crystals;   // how many
    float tallest;  // height of its highest tip above the ground
};

}  // namespace

ModelSource makeCrystalOutcrops(float ground)
{
    // Around the point the credits' camera keeps looking at, (15, 1.5, 0), on the far side of
    // its path: in view the whole time, and under the camera's gaze once it has passed the
    // name. Seen from the path's start the tips must stay below the sight line to the foot of
    // the name (about 0.9 units up here), so the tallest reach 0.75.
    const Outcrop outcrops[] = {
        {15.6f, -4.6f, 9, 0.75f},  {12.4f, -6.2f, 7, 0.6f},  {18.2f, -6.8f, 7, 0.62f}, {14.2f, -8.9f, 5, 0.5f},
        {17.3f, -2.6f, 4, 0.4f},   {10.8f, -3.4f, 4, 0.42f}, {20.6f, -4.2f, 5, 0.48f}, {9.6f, -8.0f, 4, 0.45f},
        {16.0f, -11.5f, 5, 0.55f}, {7.4f, -5.2f, 6, 0.6f},   {4.2f, -7.6f, 5, 0.55f},  {6.0f, -2.6f, 4, 0.4f},
        {22.6f, -8.6f, 5, 0.55f},
    };
    MeshBuilder builder;
    Scatter scatter;
    for (const Outcrop& outcrop : outcrops) {
        for (int k = 0; k < outcrop.crystals; ++k) {
            // The first crystal of each stands nearly upright and tallest; the others lean out
            // from the same root below the ground, shorter the more they lean, like a druse.
            float lean = k == 0 ? scatter.between(0.0f, 0.15f) : scatter.between(0.35f, 0.95f);
            float heading = scatter.between(0.0f, 2.0f * pi);
            Point axis{std::sin(lean) * std::cos(heading), std::cos(lean), std::sin(lean) * std::sin(heading)};
            float reach = outcrop.tallest * (k == 0 ? 1.0f : scatter.between(0.45f, 0.85f));
            float radius = reach * scatter.between(0.13f, 0.2f);
            float tip = radius * scatter.between(1.6f, 2.4f);
            // Rooted a little below the ground, so no crystal stands on a visible edge.
            const float sunk = 0.08f;
            Point root{outcrop.x + scatter.between(-0.12f, 0.12f), ground - sunk,
                       outcrop.z + scatter.between(-0.12f, 0.12f)};
            float length = std::fmax((reach + sunk) / axis[1] - tip, 0.5f * reach);
            addCrystal(builder, root, axis, radius, length, tip, 6, scatter.between(0.0f, pi));
        }
    }
    return builder.result();
}
