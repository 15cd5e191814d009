#include "generators.h"
#include "tiling_noise.h"

#include <cmath>

TextureImage makeSpeedLines(int size)
{
    TextureImage image(size, 3);
    TextureRandom random(0x5EED11E5ull);
    // Each streak: a thin vertical line with a bright head and a tail fading behind it,
    // wrapping around in t so the texture tiles when it scrolls.
    int streaks = size / 4;
    for (int i = 0; i < streaks; ++i) {
        float centre = random.range(0.0f, float(size));
        float head = random.range(0.0f, float(size));
        float length = float(size) * random.range(0.1f, 0.6f);
        float width = random.range(0.5f, 1.8f);
        float brightness = random.range(0.4f, 1.0f);
        float warmth = random.range(-0.15f, 0.15f);
        float tint[3] = {1.0f + warmth, 1.0f, 1.0f - warmth};
        int reach = int(std::ceil(width)) + 1;
        for (int step = 0; step < int(length); ++step) {
            float fade = 1.0f - float(step) / length;
            fade *= fade;
            int y = ((int(head) - step) % size + size) % size;
            for (int dx = -reach; dx <= reach; ++dx) {
                int x = ((int(std::floor(centre)) + dx) % size + size) % size;
                float across = std::fabs(float(int(std::floor(centre)) + dx) + 0.5f - centre) / width;
                if (across >= 1.0f)
                    continue;
                float value = brightness * fade * (1.0f - across * across);
                float* pixel = image.at(x, y);
                for (int c = 0; c < 3; ++c)
                    pixel[c] += value * tint[c];
            }
        }
    }
    return image;
}
