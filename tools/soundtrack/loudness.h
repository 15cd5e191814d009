// Loudness and true peak of a programme, measured by libebur128 (ITU-R BS.1770 / EBU R128):
// integrated loudness in LUFS, true peak in dBTP, and a per-sample true-peak envelope for the
// limiter. The meter's arithmetic is libebur128's; this only feeds it our buffers.
#pragma once

#include "audio.h"

#include <vector>

namespace soundtrack {

// Integrated (gated) loudness of a stereo programme, LUFS; -inf for silence.
double integratedLoudness(const StereoBuffer& programme);

// Largest true peak of either channel, dBTP; -inf for silence.
double truePeakDecibels(const StereoBuffer& programme);

// Frames per call to libebur128 when building the envelope: its true peak is only reported per
// call, so this is the envelope's resolution.
constexpr std::size_t truePeakEnvelopeStep = 32;

// For each frame, a true peak of both channels (linear) that is at least the band-limited
// signal's over that frame: the largest libebur128 reports for the step of frames holding it
// and for the next step (its interpolator reports a peak a few frames late, never early).
// Scaling the programme scales the envelope alike.
std::vector<float> truePeakEnvelope(const StereoBuffer& programme);

}  // namespace soundtrack
