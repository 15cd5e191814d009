// The loudness meter (our buffers handed to libebur128) against signals whose loudness and
// true peak are known.
#include "loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace soundtrack;

namespace {

StereoBuffer sine(double hz, double amplitude, double seconds, double phase = 0.0)
{
    StereoBuffer b(secondsToFrames(seconds));
    for (std::size_t n = 0; n < b.frames(); ++n) {
        const float s = static_cast<float>(amplitude * std::sin(twoPi * hz * n / sampleRate + phase));
        b.left[n] = s;
        b.right[n] = s;
    }
    return b;
}

// `count` frames of a tone at a quarter of the sample rate, 45 degrees off, from `first`: every
// sample is at 0.707 of `amplitude`, the crests fall between them.
void putQuarterRateBurst(std::vector<float>& channel, std::size_t first, std::size_t count, float amplitude)
{
    for (std::size_t k = 0; k < count; ++k) {
        const double phase = pi / 2.0 * static_cast<double>(k) + pi / 4.0;
        channel[first + k] = amplitude * static_cast<float>(std::sin(phase));
    }
}

}  // namespace

TEST(SoundtrackMeter, OneKilohertzToneReadsItsLevelInLufs)
{
    // A 1 kHz tone in both channels at -20 dBFS reads -20 LUFS; in one channel, 3 dB less.
    EXPECT_NEAR(integratedLoudness(sine(1000.0, 0.1, 10.0)), -20.0, 0.1);
    StereoBuffer leftOnly = sine(1000.0, 0.1, 10.0);
    std::fill(leftOnly.right.begin(), leftOnly.right.end(), 0.0f);
    EXPECT_NEAR(integratedLoudness(leftOnly), -23.01, 0.1);
    StereoBuffer rightOnly = sine(1000.0, 0.1, 10.0);
    std::fill(rightOnly.left.begin(), rightOnly.left.end(), 0.0f);
    EXPECT_NEAR(integratedLoudness(rightOnly), -23.01, 0.1);
}

TEST(SoundtrackMeter, SilenceReadsAsNothing)
{
    const StereoBuffer silence(secondsToFrames(5.0));
    EXPECT_LT(integratedLoudness(silence), -70.0);
    EXPECT_LT(truePeakDecibels(silence), -200.0);
}

TEST(SoundtrackMeter, TheWholeProgrammeIsMeasuredNotJustItsStart)
{
    // Long silence, then a tone to the end (an odd frame count): the gates leave out the
    // silence, so the tone alone sets the loudness.
    StereoBuffer programme(secondsToFrames(30.0) + 1001);
    const StereoBuffer tone = sine(1000.0, 0.1, 10.0);
    const std::size_t start = programme.frames() - tone.frames();
    std::copy(tone.left.begin(), tone.left.end(), programme.left.begin() + static_cast<std::ptrdiff_t>(start));
    std::copy(tone.right.begin(), tone.right.end(), programme.right.begin() + static_cast<std::ptrdiff_t>(start));
    EXPECT_NEAR(integratedLoudness(programme), -20.0, 0.15);
}

TEST(SoundtrackMeter, TruePeakFindsThePeaksBetweenSamples)
{
    // A quarter of the sample rate, 45 degrees off: every sample is at 0.707 of the crest.
    const StereoBuffer tone = sine(sampleRate / 4.0, 1.0, 1.0, pi / 4.0);
    EXPECT_NEAR(truePeakDecibels(tone), 0.0, 0.3);
    // An ordinary tone: the true peak is its amplitude.
    EXPECT_NEAR(truePeakDecibels(sine(997.0, 0.5, 1.0)), -6.02, 0.1);
}

TEST(SoundtrackMeter, TruePeakSeesTheLastFramesAndTheRightChannel)
{
    // Longer than the pieces the programme is handed over in, ending on a short burst in the
    // right channel whose crests fall between the samples (its samples read -9 dB).
    StereoBuffer programme(secondsToFrames(2.0));
    putQuarterRateBurst(programme.right, programme.frames() - 6, 6, 0.5f);
    EXPECT_NEAR(truePeakDecibels(programme), -6.02, 0.5);
}

TEST(SoundtrackMeter, EnvelopeCoversEveryFrameOfABurstAndStaysNearIt)
{
    // Bursts whose crests fall between the samples: one starting a few frames before a step of
    // the envelope ends (libebur128 reports those frames' peaks with the next step), and a
    // short one that ends the programme.
    const std::size_t start = secondsToFrames(0.25) / truePeakEnvelopeStep * truePeakEnvelopeStep - 6;
    const std::size_t length = 24;
    StereoBuffer programme(secondsToFrames(0.5) + 5);
    putQuarterRateBurst(programme.right, start, length, 0.8f);
    putQuarterRateBurst(programme.left, programme.frames() - 6, 6, 0.25f);

    const std::vector<float> envelope = truePeakEnvelope(programme);
    ASSERT_EQ(envelope.size(), programme.frames());
    for (std::size_t n = start + 2; n < start + length - 2; ++n) {
        EXPECT_GE(envelope[n], 0.8f * 0.95f) << "frame " << n - start << " of the burst";
    }
    EXPECT_GE(*std::max_element(envelope.end() - 6, envelope.end()), 0.25f * 0.95f) << "the last burst's crest";
    // Far from the burst the envelope is silent, so the limiter does not duck what is far
    // from a peak.
    const std::size_t reach = 3 * truePeakEnvelopeStep;
    EXPECT_LT(envelope[start - reach], 1e-3f);
    EXPECT_LT(envelope[start + length + reach], 1e-3f);
    EXPECT_LT(envelope[secondsToFrames(0.1)], 1e-6f);
}
