// Stereo hall reverb: a pre-delay, a chain of all-pass diffusers per channel and a feedback
// delay network of eight lines mixed by an orthogonal (Hadamard) matrix, each line damped by
// a low-pass so the highs die first. Used on a send: it returns only the reverberated sound.
#pragma once

#include "audio.h"

namespace soundtrack {

struct ReverbSettings {
    double decaySeconds = 2.6;  // time for the tail to fall by 60 dB (mid frequencies)
    double preDelaySeconds = 0.025;
    double dampingHz = 5500.0;  // corner of the per-line low-pass
};

StereoBuffer applyReverb(const StereoBuffer& send, const ReverbSettings& settings);

}  // namespace soundtrack
