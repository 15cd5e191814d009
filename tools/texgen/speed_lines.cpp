#include "generators.h"
#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

// Speed lines: few, long, thin streaks on black, running along t (the tunnel's depth), each
// wrapping around in t so the texture tiles when it scrolls. A streak is a hot core a texel
// wide inside a soft rim of its own colour: the core reaches the bright pass and glows, the
// rim keeps the line whole where mip-maps thin it, so it reads as one luminous stroke and not
// as a row of dots. The cores burn white; the rims are mostly blue, some cyan or violet, and a
// few warm, as sparks.
TextureImage makeSpeedLines(int size)
{
    TextureImage image(size, 3);
    TextureRandom random(0x5EED11E5ull);
    const int streaks = size / 20;
    constexpr float rimWidth = 2.2f;
    // The layers' emission weighs blue four times red and green twice, so a core meant to burn
    // white is stored as 1 : 1/2 : 1/4, and a rim keeps the emission's blue or turns it.
    constexpr float whiteCore[3] = {1.0f, 0.5f, 0.25f};
    constexpr float rims[4][3] = {{0.35f, 0.55f, 1.0f},   // the emission's own blue
                                  {0.2f, 0.5f, 0.75f},    // cyan
                                  {0.75f, 0.3f, 0.9f},    // violet
                                  {1.0f, 0.35f, 0.08f}};  // a warm spark
    const int reach = int(std::ceil(rimWidth)) + 1;
    for (int i = 0; i < streaks; ++i) {
        const float centre = random.range(0.0f, float(size));
        const float head = random.range(0.0f, float(size));
        const float length = float(size) * random.range(0.35f, 0.85f);
        const float coreWidth = random.range(0.45f, 0.8f);
        const float brightness = random.range(0.55f, 1.0f);
        const float pick = random.range(0.0f, 1.0f);
        const float* rimTint = rims[pick < 0.55f ? 0 : pick < 0.75f ? 1 : pick < 0.9f ? 2 : 3];
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
                float* pixel = image.at(x, y);
                for (int c = 0; c < 3; ++c) {
                    const float value =
                        brightness * fade * (core * whiteCore[c] + 0.35f * rim * (1.0f - core) * rimTint[c]);
                    pixel[c] = std::min(1.0f, pixel[c] + value);
                }
            }
        }
    }
    return image;
}
