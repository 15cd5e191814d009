// Loudness over time, as EBU R128 defines it (libebur128 does the arithmetic): short-term
// loudness (a 3 s window) and momentary loudness (400 ms) every 100 ms, each stamped with the
// time its window ends, as ffmpeg's ebur128 filter prints it; integrated loudness of any span.
#pragma once

#include "audio.h"

#include <vector>

namespace soundtrack {

struct LoudnessTrack {
    double stepSeconds = 0.1;
    std::vector<double> shortTerm;  // LUFS, entry i for the window ending at (i + 1) * step
    std::vector<double> momentary;  // LUFS, same times; -inf while silent
    double timeOf(std::size_t i) const { return static_cast<double>(i + 1) * stepSeconds; }
};

LoudnessTrack measureLoudnessTrack(const StereoBuffer& programme, int rateHz);

// Gated integrated loudness of [fromSeconds, toSeconds), LUFS; -inf when silent.
double integratedLoudnessOf(const StereoBuffer& programme, int rateHz, double fromSeconds, double toSeconds);

// The short-term values stamped in [fromSeconds, toSeconds], silent windows left out.
std::vector<double> shortTermBetween(const LoudnessTrack& track, double fromSeconds, double toSeconds);

// The value below which `fraction` (0..1) of `values` lie (nearest rank); NaN when empty.
double percentile(std::vector<double> values, double fraction);

// The largest fall of short-term loudness from one moment to any moment up to `withinSeconds`
// later, both moments in [fromSeconds, toSeconds]: how abruptly a stretch empties.
double steepestFall(const LoudnessTrack& track, double fromSeconds, double toSeconds, double withinSeconds);

}  // namespace soundtrack
