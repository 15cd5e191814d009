#include "chorus.h"

#include <cmath>
#include <vector>

namespace soundtrack {

namespace {

void chorusChannel(std::vector<float>& samples, double phaseOffset)
{
    const std::vector<float> dry = samples;
    constexpr double centreSeconds = 0.013;
    constexpr double depthSeconds = 0.004;
    constexpr double rates[2] = {0.23, 0.37};
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const double t = static_cast<double>(n) / sampleRate;
        double wet = 0.0;
        for (int tap = 0; tap < 2; ++tap) {
            const double lfo = std::sin(twoPi * rates[tap] * t + phaseOffset + tap * 2.1);
            const double delay = (centreSeconds + depthSeconds * lfo) * sampleRate;
            const double position = static_cast<double>(n) - delay;
            if (position < 0.0) {
                continue;
            }
            const std::size_t i = static_cast<std::size_t>(position);
            const double f = position - static_cast<double>(i);
            const double next = i + 1 < n ? dry[i + 1] : dry[i];
            wet += dry[i] + f * (next - dry[i]);
        }
        samples[n] = static_cast<float>(0.75 * dry[n] + 0.4 * wet);
    }
}

}  // namespace

void applyChorus(StereoBuffer& buffer)
{
    chorusChannel(buffer.left, 0.0);
    chorusChannel(buffer.right, pi / 2.0);
}

}  // namespace soundtrack
