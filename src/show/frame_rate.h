#pragma once
// A playback rate as a fraction of frames per second (60/1, 60000/1001), for frames that are
// drawn at exact times rather than by the clock: frame i shows demo time i / rate.
#include <cstdint>

struct FrameRate {
    uint32_t numerator = 60;
    uint32_t denominator = 1;

    // Exact to the last bit for every frame of the show: i x denominator is a whole number far
    // below 2^53, and the one division rounds once.
    double frameTime(uint64_t frame) const { return double(frame) * denominator / numerator; }

    // The last frame whose time lies before `seconds` (a whole, positive number of seconds).
    uint64_t lastFrameBefore(uint32_t seconds) const { return (uint64_t(seconds) * numerator - 1) / denominator; }

    // The first frame whose time is `seconds` (a whole number of seconds) or later.
    uint64_t firstFrameFrom(uint32_t seconds) const
    {
        return (uint64_t(seconds) * numerator + denominator - 1) / denominator;
    }
};
