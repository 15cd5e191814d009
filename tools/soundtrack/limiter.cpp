#include "limiter.h"

#include "audio.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace soundtrack {

std::vector<float> limiterGain(const std::vector<float>& peaks, const LimiterSettings& settings)
{
    const std::size_t frames = peaks.size();
    const std::size_t window = std::max<std::size_t>(1, secondsToFrames(settings.lookaheadSeconds));

    // The gain each sample needs on its own, after `window - 1` leading samples of silence that
    // let the first samples be ramped to like any other.
    const std::size_t lead = window - 1;
    const std::size_t padded = frames + lead;
    std::vector<double> required(padded, 1.0);
    for (std::size_t n = 0; n < frames; ++n) {
        required[n + lead] = peaks[n] > settings.ceiling ? settings.ceiling / peaks[n] : 1.0;
    }

    // ahead[i]: the smallest requirement over [i, i + window - 1] (a sliding minimum, kept in
    // a deque of candidate positions whose values rise from front to back).
    std::vector<double> ahead(padded);
    std::deque<std::size_t> candidates;
    for (std::size_t i = padded; i-- > 0;) {
        while (!candidates.empty() && required[candidates.back()] >= required[i]) {
            candidates.pop_back();
        }
        candidates.push_back(i);
        while (candidates.front() >= i + window) {
            candidates.pop_front();
        }
        ahead[i] = required[candidates.front()];
    }

    // The mean of ahead[] over the `window` positions ending at sample n: each of them covers
    // sample n, so the mean never exceeds what sample n requires, and a drop in gain is spread
    // over the whole window. The release then only slows the way back up.
    std::vector<float> gain(frames);
    const double recovery = 1.0 - std::exp(-1.0 / (settings.releaseSeconds * sampleRate));
    double sum = 0.0;
    for (std::size_t i = 0; i < lead; ++i) {
        sum += ahead[i];
    }
    double held = 1.0;
    for (std::size_t n = 0; n < frames; ++n) {
        const std::size_t i = n + lead;
        sum += ahead[i];
        const double smooth = sum / static_cast<double>(window);
        sum -= ahead[i - lead];
        held = std::min(smooth, held + (1.0 - held) * recovery);
        gain[n] = static_cast<float>(held);
    }
    return gain;
}

}  // namespace soundtrack
