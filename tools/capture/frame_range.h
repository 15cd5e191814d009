#pragma once
// Which frames a video of the show holds: frame i shows demo time i / rate exactly.
#include "show/frame_rate.h"

#include <cstdint>

struct FrameRange {
    uint64_t first = 0;  // index of the first frame
    uint64_t count = 0;  // frames from there on
};

// The frames whose times lie in [from, to), ending early, inclusively, with the frame on which
// the show closes itself (the show draws that frame, so the video shows it too).
FrameRange videoFrameRange(const FrameRate& rate, double from, double to);

// Audio samples that last exactly as long as `frames` frames at `rate`, to the nearest sample.
uint64_t samplesForFrames(uint64_t frames, const FrameRate& rate, uint32_t sampleRate);
