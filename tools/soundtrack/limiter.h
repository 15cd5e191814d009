// Look-ahead peak limiter for the master bus, working on a whole programme at once. The gain
// falls smoothly (over the look-ahead) before a peak arrives rather than after it, so the
// output never exceeds the ceiling and nothing is clipped; it recovers with the release time.
#pragma once

#include <vector>

namespace soundtrack {

struct LimiterSettings {
    double ceiling = 0.8;  // linear peak the output must not exceed
    double lookaheadSeconds = 0.003;
    double releaseSeconds = 0.12;  // time constant of the recovery towards unity gain
};

// peaks[n]: the largest magnitude the signal reaches over sample n (for instance its true-peak
// envelope, both channels combined). Returns the gain (0..1] to multiply sample n by.
std::vector<float> limiterGain(const std::vector<float>& peaks, const LimiterSettings& settings);

}  // namespace soundtrack
