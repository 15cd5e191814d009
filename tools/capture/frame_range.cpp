#include "frame_range.h"

#include "show/timeline.h"

#include <algorithm>

namespace {

// The first frame at or after `seconds`, or `limit` if none before it is.
template <typename Predicate> uint64_t firstFrameWhere(uint64_t limit, Predicate holds)
{
    uint64_t low = 0, high = limit;
    while (low < high) {
        const uint64_t middle = low + (high - low) / 2;
        if (holds(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

}  // namespace

FrameRange videoFrameRange(const FrameRate& rate, double from, double to)
{
    // Past the last row the timeline has closed the show whatever the rate.
    const uint64_t limit = rate.lastFrameBefore(uint32_t(timeline.back().end)) + 2;
    const uint64_t first = firstFrameWhere(limit, [&](uint64_t i) { return rate.frameTime(i) >= from; });
    const uint64_t beyondTo = firstFrameWhere(limit, [&](uint64_t i) { return rate.frameTime(i) >= to; });
    const uint64_t closing = firstFrameWhere(limit, [&](uint64_t i) { return showClosesAt(rate.frameTime(i)); });
    const uint64_t end = std::min(beyondTo, closing + 1);
    return FrameRange{first, end > first ? end - first : 0};
}

uint64_t samplesForFrames(uint64_t frames, const FrameRate& rate, uint32_t sampleRate)
{
    // frames x denominator / numerator seconds, in whole arithmetic: no rounding on the way.
    const uint64_t scaled = frames * rate.denominator * sampleRate;
    return (scaled + rate.numerator / 2) / rate.numerator;
}
