// Loudness and peak measures after ITU-R BS.1770: K-weighted, gated integrated loudness in
// LUFS and true peak in dBTP (peak of the signal oversampled four times).
#pragma once

#include "audio.h"

#include <vector>

namespace soundtrack {

// Integrated loudness of a stereo programme, LUFS. Returns -70 or lower for silence.
double integratedLoudness(const StereoBuffer& programme);

// For each sample n, the largest magnitude of the band-limited signal over [n, n + 1):
// the sample itself and three points interpolated between it and the next.
std::vector<float> truePeakEnvelope(const std::vector<float>& channel);

// Largest true peak of either channel, dBTP (-inf for silence).
double truePeakDecibels(const StereoBuffer& programme);

// Largest sample magnitude of either channel (linear).
float samplePeak(const StereoBuffer& programme);

}  // namespace soundtrack
