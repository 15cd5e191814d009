#include "transitions.h"

#include "envelope.h"
#include "filters.h"
#include "oscillators.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

constexpr std::size_t filterUpdateInterval = 16;

}  // namespace

StereoBuffer renderRiser(double pitch, double length, float velocity, std::uint32_t seed)
{
    StereoBuffer out(secondsToFrames(length));
    Random noise(seed);
    StateVariableFilter bandLeft, bandRight, sawFilter;
    Oscillator sawLow(0.0), sawHigh(0.37);
    constexpr double endFade = 0.01;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double progress = t / length;
        if (i % filterUpdateInterval == 0) {
            const double centre = 250.0 * std::pow(9000.0 / 250.0, progress);
            bandLeft.setCutoff(centre, 0.6);
            bandRight.setCutoff(centre * 1.08, 0.6);
            sawFilter.setCutoff(400.0 + 5000.0 * progress * progress, 0.3);
            const double glide = pitch + 12.0 * progress * progress;
            sawLow.setFrequency(noteToHz(glide - 0.1));
            sawHigh.setFrequency(noteToHz(glide + 0.1));
        }
        // Grows like progress cubed: most of the build comes in the last third.
        double level = progress * progress * progress;
        level *= std::clamp(t / 0.05, 0.0, 1.0) * std::clamp((length - t) / endFade, 0.0, 1.0);
        const float saws = 0.25f * sawFilter.lowPass(sawLow.saw() + sawHigh.saw());
        const float gain = static_cast<float>(level) * velocity;
        out.left[i] = gain * (bandLeft.bandPass(noise.bipolar()) * 1.4f + saws);
        out.right[i] = gain * (bandRight.bandPass(noise.bipolar()) * 1.4f + saws);
    }
    return out;
}

StereoBuffer renderImpact(float velocity, double length, std::uint32_t seed)
{
    StereoBuffer out(secondsToFrames(length));
    Random noise(seed);
    StateVariableFilter lowLeft, lowRight;
    double phase = 0.0;
    const double decay = length * 0.25;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        if (i % filterUpdateInterval == 0) {
            const double cutoff = 150.0 + 7000.0 * std::exp(-t / 0.25);
            lowLeft.setCutoff(cutoff, 0.1);
            lowRight.setCutoff(cutoff * 0.93, 0.1);
        }
        phase += (32.0 + 38.0 * std::exp(-t / 0.35)) / sampleRate;
        const double boom = std::tanh(2.0 * std::sin(twoPi * phase)) * percussiveLevel(t, 0.002, decay, length);
        const double burst = percussiveLevel(t, 0.001, decay * 0.4, length);
        const double left = 0.75 * boom + 0.9 * burst * lowLeft.lowPass(noise.bipolar());
        const double right = 0.75 * boom + 0.9 * burst * lowRight.lowPass(noise.bipolar());
        out.left[i] = static_cast<float>(left * velocity);
        out.right[i] = static_cast<float>(right * velocity);
    }
    return out;
}

}  // namespace soundtrack
