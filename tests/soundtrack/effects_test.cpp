// The send effects and the master limiter, driven by impulses and bursts whose answers are known.
#include "delay.h"
#include "limiter.h"
#include "reverb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace soundtrack;

namespace {

std::size_t loudestFrame(const std::vector<float>& channel, std::size_t from, std::size_t to)
{
    std::size_t best = from;
    for (std::size_t n = from; n < to; ++n) {
        if (std::abs(channel[n]) > std::abs(channel[best])) {
            best = n;
        }
    }
    return best;
}

double energy(const std::vector<float>& channel, double from, double to)
{
    double sum = 0.0;
    for (std::size_t n = secondsToFrames(from); n < secondsToFrames(to); ++n) {
        sum += static_cast<double>(channel[n]) * channel[n];
    }
    return sum;
}

}  // namespace

TEST(SoundtrackEffects, PingPongEchoesOnTheDottedEighthLeftThenRight)
{
    StereoBuffer impulse(secondsToFrames(2.0));
    impulse.left[0] = 1.0f;
    impulse.right[0] = 1.0f;
    const double dottedEighth = 0.375;  // seconds at 120 BPM
    const StereoBuffer echoes = applyPingPongDelay(impulse, dottedEighth, 0.45);
    const std::size_t delay = secondsToFrames(dottedEighth);

    for (std::size_t n = 0; n < delay; ++n) {
        ASSERT_EQ(echoes.left[n], 0.0f) << "an echo before its time at frame " << n;
        ASSERT_EQ(echoes.right[n], 0.0f);
    }
    EXPECT_EQ(loudestFrame(echoes.left, 0, 2 * delay), delay);
    EXPECT_EQ(loudestFrame(echoes.right, 0, 3 * delay), 2 * delay);
    const float first = std::abs(echoes.left[delay]);
    const float third = std::abs(echoes.left[loudestFrame(echoes.left, 2 * delay + 1, 4 * delay)]);
    EXPECT_GT(first, 0.0f);
    EXPECT_LT(third, 0.6f * first) << "the feedback does not die away";
    EXPECT_EQ(loudestFrame(echoes.left, 2 * delay + 1, 4 * delay), 3 * delay);
}

TEST(SoundtrackEffects, ReverbTailDecaysAtItsSetRateAndIsWide)
{
    StereoBuffer impulse(secondsToFrames(9.0));
    impulse.left[0] = 1.0f;
    impulse.right[0] = 1.0f;
    ReverbSettings settings;
    settings.decaySeconds = 2.0;
    const StereoBuffer tail = applyReverb(impulse, settings);

    EXPECT_EQ(energy(tail.left, 0.0, 0.02), 0.0) << "sound before the pre-delay";
    // Over one second the level must fall by about 30 dB (60 dB per 2 s); the damping makes
    // the highs fall faster, so allow a little more.
    const double early = energy(tail.left, 0.2, 0.3) + energy(tail.right, 0.2, 0.3);
    const double later = energy(tail.left, 1.2, 1.3) + energy(tail.right, 1.2, 1.3);
    const double fallDb = 10.0 * std::log10(early / later);
    EXPECT_GT(fallDb, 25.0);
    EXPECT_LT(fallDb, 40.0);
    // Stable: long after, nothing is left.
    EXPECT_LT(energy(tail.left, 8.0, 9.0), early * 1e-9);

    // The two sides are different reflections, not one signal twice.
    double lr = 0.0, ll = 0.0, rr = 0.0;
    for (std::size_t n = secondsToFrames(0.1); n < secondsToFrames(1.0); ++n) {
        lr += static_cast<double>(tail.left[n]) * tail.right[n];
        ll += static_cast<double>(tail.left[n]) * tail.left[n];
        rr += static_cast<double>(tail.right[n]) * tail.right[n];
    }
    EXPECT_LT(std::abs(lr) / std::sqrt(ll * rr), 0.3);
}

TEST(SoundtrackEffects, LimiterKeepsEveryPeakUnderTheCeilingAndLeavesQuietPartsAlone)
{
    // Quiet noise with a few loud spikes, the first right at the start.
    Random random(3);
    std::vector<float> peaks(secondsToFrames(2.0));
    for (float& p : peaks) {
        p = 0.3f * random.unit();
    }
    peaks[0] = 3.0f;
    peaks[secondsToFrames(1.0)] = 4.0f;
    peaks[secondsToFrames(1.0) + 7] = 2.0f;
    peaks[secondsToFrames(1.4)] = 1.5f;

    LimiterSettings settings;
    settings.ceiling = 0.8;
    const std::vector<float> gain = limiterGain(peaks, settings);
    ASSERT_EQ(gain.size(), peaks.size());
    float largestStep = 0.0f;
    for (std::size_t n = 0; n < peaks.size(); ++n) {
        ASSERT_LE(peaks[n] * gain[n], 0.8f * 1.0001f) << "over the ceiling at frame " << n;
        ASSERT_GT(gain[n], 0.0f);
        ASSERT_LE(gain[n], 1.0f);
        if (n > 0) {
            largestStep = std::max(largestStep, std::abs(gain[n] - gain[n - 1]));
        }
    }
    // The gain ramps over the 3 ms look-ahead rather than jumping at the peak.
    EXPECT_LT(largestStep, 0.01f);
    // Once recovered (release 0.12 s), quiet material passes untouched.
    EXPECT_GT(gain[secondsToFrames(0.9)], 0.999f);
    EXPECT_GT(gain[secondsToFrames(1.99)], 0.99f);
    // Just before the spike at 1 s the gain is already down.
    EXPECT_LE(gain[secondsToFrames(1.0) - 1], 0.8f / 4.0f + 0.01f);
}
