#include "generators.h"
#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

// Speed lines: few, long, thin streaks on black, running along t (the tunnel's depth), each
// wrapping around in t so the texture tiles when it scrolls. A streak is a hot core a texel
// wide inside a soft rim of its own colour: the core reaches the bright pass and glows, the
// rim keeps the line whole where mip-maps thin it, so it reads as one luminous stroke and not
// as a row of dots. Most are blue-white, a few warm, as sparks.
TextureImage makeSpeedLines(int size)
{
    TextureImage image(size, 3);
    TextureRandom random(0x5EED11E5ull);
    const int streaks = size / 14;
    constexpr float rimWidth = 2.2f;
    for (int i = 0; i < streaks; ++i) {
        const float centre = random.range(0.0f, float(size));
        const float head = random.range(0.0f, float(size));
        const float length = float(size) * random.range(0.35f, 0.85f);
        const float coreWidth = random.range(0.45f, 0.8f);
        const float brightness = random.range(0.55f, 1.0f);
        const bool spark = random.range(0.0f, 1.0f) < 0.2f;
        const float tint[3] = {spark ? 1.25f : 0.8f, spark ? 0.95f : 0.92f, spark ? 0.6f : 1.15f};
        const int reach = int(std::ceil(rimWidth)) + 1;
        for (int step = 0; step < int(length); ++step) {
            // Bright at the head, falling off along the tail.
            const float along = float(step) / length;
            const float fade = (1.0f - along) * (1.0f - along) * std::min(1.0f, float(step + 1) / 3.0f);
            const int y = ((int(head) - step) % size + size) % size;
            for (int dx = -reach; dx <= reach; ++dx) {
                const int column = int(std::floor(centre)) + dx;
                const int x = (column % size + size) % size;
                const float across = std::fabs(float(column) + 0.5f - centre);
                const float core = std::max(0.0f, 1.0f - across / coreWidth);
                const float rim = std::exp(-(across * across) / (0.5f * rimWidth * rimWidth));
                const float value = brightness * fade * (0.75f * core + 0.3f * rim);
                float* pixel = image.at(x, y);
                for (int c = 0; c < 3; ++c)
                    pixel[c] = std::min(1.0f, pixel[c] + value * tint[c]);
            }
        }
    }
    return image;
}
