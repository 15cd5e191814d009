#include "core/random.h"

#include <cstring>

namespace {
uint32_t randomState = 0;
}

void setRandomSeed(uint32_t seed)
{
    randomState = seed;
}

float randomUnit()
{
    // Mantissa bits under the exponent of 2.0 give a float in [2, 4).
    uint32_t bits = (randomState & 0x7FFFFFu) | 0x40000000u;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    randomState *= 16807u;
    return value * 0.5f - 1.0f;
}

float randomRange(float a, float b)
{
    return a + randomUnit() * (b - a);
}
