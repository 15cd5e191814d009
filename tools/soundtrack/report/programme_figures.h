// The figures the report prints and draws, from a decoded programme and the picture's scenes:
// per scene its loudness and spectrum, and the handful of headline figures that say whether
// the arrangement builds and the mix is balanced.
#pragma once

#include "loudness_track.h"
#include "third_octave_bands.h"

#include <string>
#include <vector>

namespace soundtrack {

struct SceneSpan {
    std::string name;
    double fromSeconds;
    double toSeconds;
};

// The show's scenes as the score lays them out (its carousel phrases joined into one scene),
// and the phrase boundaries inside the carousel, seconds.
std::vector<SceneSpan> showScenes();
std::vector<double> carouselPhraseStarts();

struct SceneFigures {
    SceneSpan span;
    double integratedLufs;
    double medianShortTermLufs;
    double shortTermSpreadLu;  // p95 - p10 of the short-term values stamped in the scene
    SpectrumFigures spectrum;
};

struct ProgrammeFigures {
    int rateHz = 0;
    double lengthSeconds = 0.0;
    double integratedLufs = 0.0;
    double truePeakDbtp = 0.0;
    LoudnessTrack loudness;
    Spectrogram spectrogram;   // of the mid channel
    SpectrumFigures spectrum;  // the whole programme's
    std::vector<SceneFigures> scenes;

    // The headline figures.
    double spreadLu = 0.0;          // short-term p95 - p10 over 27-96 s: does the middle of the show move?
    double dropLiftLu = 0.0;        // median short-term of the fireworks (65-80 s) minus the credits' (35-58 s)
    double dropCentroidHz = 0.0;    // centroid above 150 Hz, fireworks
    double versesCentroidHz = 0.0;  // the same, credits 35-58 s
    double carouselFallLu = 0.0;    // steepest fall within 3 s over the carousel's grooves, 80-112 s
    double band50Db = 0.0;          // the 50 Hz band against the reference line, whole programme
    double presenceLowestDb = 0.0;  // the lowest of the 2-6.3 kHz bands against the line
    double tailRmsDbfs = 0.0;       // the last 100 ms, dBFS: has the last chord died away?
};

// The scenes are taken from `scenes`; the figures' time windows are the show's (see above).
ProgrammeFigures measureProgramme(const StereoBuffer& programme, int rateHz, const std::vector<SceneSpan>& scenes);

}  // namespace soundtrack
