// The master bus against a programme that is too quiet on average and too peaky to be brought
// up without limiting: it must end at the target loudness with its true peak under the ceiling.
#include "loudness.h"
#include "mastering.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace soundtrack;

TEST(SoundtrackMastering, ReachesTheTargetLoudnessWithTheTruePeakUnderTheCeiling)
{
    // Quiet noise with a DC offset, and every half second a short burst at a quarter of the
    // sample rate whose crests fall between the samples.
    Random random(11);
    StereoBuffer programme(secondsToFrames(8.0));
    for (std::size_t n = 0; n < programme.frames(); ++n) {
        programme.left[n] = 0.02f * random.bipolar() + 0.01f;
        programme.right[n] = 0.02f * random.bipolar() + 0.01f;
    }
    for (std::size_t start = 0; start + 16 < programme.frames(); start += secondsToFrames(0.5)) {
        for (std::size_t k = 0; k < 16; ++k) {
            const double phase = pi / 2.0 * static_cast<double>(k) + pi / 4.0;
            programme.left[start + k] += 0.3f * static_cast<float>(std::sin(phase));
        }
    }

    const MasteringTarget target;
    const MasteringReport report = masterMix(programme, target);

    EXPECT_NEAR(integratedLoudness(programme), target.loudnessLufs, 0.05);
    EXPECT_NEAR(report.loudnessLufs, integratedLoudness(programme), 1e-9);
    EXPECT_LE(truePeakDecibels(programme), target.truePeakCeilingDbtp);
    EXPECT_NEAR(report.truePeakDbtp, truePeakDecibels(programme), 1e-9);
    EXPECT_GT(report.largestReductionDb, 3.0) << "the bursts should have needed limiting";
    // Well after a burst the noise has its level back (the make-up gain alone): the limiter
    // has let go of it.
    double sum = 0.0;
    for (std::size_t n = secondsToFrames(1.35); n < secondsToFrames(1.49); ++n) {
        sum += static_cast<double>(programme.right[n]) * programme.right[n];
    }
    const double rmsDb = 10.0 * std::log10(sum / static_cast<double>(secondsToFrames(0.14)));
    EXPECT_NEAR(rmsDb, gainToDecibels(0.02 / std::sqrt(3.0)) + report.gainDecibels, 0.3);
}
