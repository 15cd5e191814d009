// The master bus: removes any DC offset, sets the gain that brings the programme to its target
// integrated loudness and limits its true peak below a ceiling.
#pragma once

#include "audio.h"

namespace soundtrack {

struct MasteringTarget {
    double loudnessLufs = -14.0;
    // Below the -1 dBTP the file must meet: lossy encoding adds a few tenths of a dB of
    // overshoot to the peaks it is given.
    double truePeakCeilingDbtp = -2.3;
};

struct MasteringReport {
    double gainDecibels;        // make-up gain applied before the limiter
    double loudnessLufs;        // integrated loudness of the result, by libebur128
    double truePeakDbtp;        // true peak of the result, by libebur128
    double largestReductionDb;  // deepest gain reduction of the limiter (positive dB)
};

MasteringReport masterMix(StereoBuffer& programme, const MasteringTarget& target);

}  // namespace soundtrack
