#pragma once
#include <cstdint>

// The show's one pseudo-random generator: a multiplicative congruential state (x 16807 mod
// 2^32). Start-up seeds it with 7928, and the order of draws is fixed (renderer construction,
// then the particle field), so every run places everything identically.
void setRandomSeed(uint32_t seed);

// A float in [0, 1), from the 23 low bits of the state before it advances.
float randomUnit();

// a + randomUnit() * (b - a), in single precision.
float randomRange(float a, float b);
