#pragma once
// The shared generator written out from its definition, independently of core/random.cpp:
// the float is built from the 23 low bits of the state before it advances (x 16807 mod 2^32).
#include <cstdint>
#include <cstring>

struct ReferenceGenerator {
    uint32_t state;

    float unit()
    {
        const uint32_t bits = (state & 0x7FFFFFu) | 0x40000000u;
        float value;
        std::memcpy(&value, &bits, sizeof value);
        state *= 16807u;
        return value * 0.5f - 1.0f;
    }
};
