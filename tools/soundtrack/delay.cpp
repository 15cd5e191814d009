#include "delay.h"

#include "filters.h"

#include <algorithm>
#include <vector>

namespace soundtrack {

StereoBuffer applyPingPongDelay(const StereoBuffer& send, double delaySeconds, double feedback)
{
    const std::size_t frames = send.frames();
    StereoBuffer out(frames);
    const std::size_t delay = std::max<std::size_t>(1, secondsToFrames(delaySeconds));
    std::vector<float> lineLeft(delay, 0.0f), lineRight(delay, 0.0f);
    OnePoleLowPass toneLow, toneHigh;
    toneLow.setCutoff(5000.0);
    toneHigh.setCutoff(300.0);
    std::size_t position = 0;
    const float loop = static_cast<float>(feedback);
    for (std::size_t n = 0; n < frames; ++n) {
        const float echoLeft = lineLeft[position];
        const float echoRight = lineRight[position];
        out.left[n] = echoLeft;
        out.right[n] = echoRight;
        const float mono = 0.5f * (send.left[n] + send.right[n]);
        const float lowPassed = toneLow.process(mono + loop * echoRight);
        lineLeft[position] = lowPassed - toneHigh.process(lowPassed);
        lineRight[position] = echoLeft;
        position = (position + 1) % delay;
    }
    return out;
}

}  // namespace soundtrack
