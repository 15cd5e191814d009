// The loudness meter against signals whose loudness and true peak are known.
#include "loudness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace soundtrack;

namespace {

StereoBuffer sine(double hz, double amplitude, double seconds, double phase = 0.0) {
    StereoBuffer b(secondsToFrames(seconds));
    for (std::size_t n = 0; n < b.frames(); ++n) {
        const float s = static_cast<float>(amplitude * std::sin(twoPi * hz * n / sampleRate + phase));
        b.left[n] = s;
        b.right[n] = s;
    }
    return b;
}

}  // namespace

TEST(SoundtrackMeter, OneKilohertzToneReadsItsLevelInLufs) {
    // A 1 kHz tone in both channels at -20 dBFS reads -20 LUFS; in one channel, 3 dB less.
    EXPECT_NEAR(integratedLoudness(sine(1000.0, 0.1, 10.0)), -20.0, 0.1);
    StereoBuffer leftOnly = sine(1000.0, 0.1, 10.0);
    std::fill(leftOnly.right.begin(), leftOnly.right.end(), 0.0f);
    EXPECT_NEAR(integratedLoudness(leftOnly), -23.01, 0.1);
}

TEST(SoundtrackMeter, WeightingFavoursPresenceOverBass) {
    // The K-weighting cuts deep bass and lifts the highs.
    EXPECT_LT(integratedLoudness(sine(40.0, 0.1, 5.0)), -21.0);
    EXPECT_GT(integratedLoudness(sine(4000.0, 0.1, 5.0)), -18.0);
}

TEST(SoundtrackMeter, GatingIgnoresSilenceAndNearSilence) {
    StereoBuffer tone = sine(1000.0, 0.1, 20.0);
    // The second half: silence, then a tone 30 dB down (below the relative gate).
    for (std::size_t n = secondsToFrames(10.0); n < tone.frames(); ++n) {
        const float quiet = n < secondsToFrames(15.0) ? 0.0f : tone.left[n] * 0.0316f;
        tone.left[n] = quiet;
        tone.right[n] = quiet;
    }
    EXPECT_NEAR(integratedLoudness(tone), -20.0, 0.15);
    EXPECT_LT(integratedLoudness(StereoBuffer(secondsToFrames(5.0))), -70.0);
}

TEST(SoundtrackMeter, TruePeakFindsThePeaksBetweenSamples) {
    // A quarter of the sample rate, 45 degrees off: every sample is at 0.707 of the crest.
    const StereoBuffer tone = sine(sampleRate / 4.0, 1.0, 1.0, pi / 4.0);
    EXPECT_NEAR(gainToDecibels(samplePeak(tone)), -3.01, 0.05);
    EXPECT_NEAR(truePeakDecibels(tone), 0.0, 0.3);
    // An ordinary tone: the true peak is its amplitude.
    EXPECT_NEAR(truePeakDecibels(sine(997.0, 0.5, 1.0)), -6.02, 0.1);
}
