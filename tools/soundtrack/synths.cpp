#include "synths.h"

#include "envelope.h"
#include "filters.h"
#include "oscillators.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace soundtrack {

namespace {

// Swept filters recompute their coefficients once per this many samples (0.36 ms).
constexpr std::size_t filterUpdateInterval = 16;

}  // namespace

StereoBuffer renderBass(double pitch, double gate, float velocity, double brightness)
{
    const Adsr shape{0.003, 0.25, 0.75, 0.06};
    StereoBuffer out(secondsToFrames(adsrLength(shape, gate)));
    const double hz = noteToHz(pitch);
    Oscillator saw, sub;
    saw.setFrequency(hz);
    sub.setFrequency(hz);
    StateVariableFilter filter;
    // The filter stays open past the first several harmonics: the bass is heard by its growl
    // at 150-400 Hz (all that a laptop or a small PA plays of it), and its fundamental carries
    // the weight without a boom.
    const double baseCutoff = hz * 5.0 + 160.0;
    const double sweep = 200.0 + 2200.0 * std::clamp(brightness, 0.0, 1.0) * (0.6 + 0.4 * velocity);
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        if (i % filterUpdateInterval == 0) {
            filter.setCutoff(baseCutoff + sweep * std::exp(-t / 0.09), 0.35);
        }
        const float raw = 0.8f * saw.saw() + 0.4f * sub.sine();
        const double shaped = std::tanh(1.4 * filter.lowPass(raw));
        const float sample = static_cast<float>(shaped) * adsrLevel(shape, t, gate) * velocity;
        out.left[i] = sample;
        out.right[i] = sample;
    }
    return out;
}

StereoBuffer renderPad(double pitch, double gate, float velocity, double startSeconds, const Curve& cutoffHz,
                       std::uint32_t seed)
{
    const Adsr shape{0.9, 1.2, 0.85, 1.6};
    StereoBuffer out(secondsToFrames(adsrLength(shape, gate)));
    constexpr int voices = 7;
    constexpr double spreadSemitones = 0.16;
    Random random(seed);
    std::array<Oscillator, voices> saws;
    for (int v = 0; v < voices; ++v) {
        const double offset = spreadSemitones * (2.0 * v / (voices - 1) - 1.0);
        saws[v] = Oscillator(random.unit());
        saws[v].setFrequency(noteToHz(pitch + offset));
    }
    StateVariableFilter filterLeft, filterRight;
    // Higher notes open the filter a little further so the chord keeps its balance.
    const double keyTrack = std::pow(2.0, (pitch - 60.0) / 24.0);
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        if (i % filterUpdateInterval == 0) {
            const double cutoff = cutoffHz.at(startSeconds + t) * keyTrack * (0.8 + 0.2 * velocity);
            filterLeft.setCutoff(cutoff, 0.3);
            filterRight.setCutoff(cutoff * 1.04, 0.3);
        }
        float left = 0.0f, right = 0.0f;
        for (int v = 0; v < voices; ++v) {
            const float s = saws[v].saw();
            // Alternate voices lean left and right; the centre voice feeds both.
            if (v == voices / 2) {
                left += 0.7f * s;
                right += 0.7f * s;
            } else if (v % 2 == 0) {
                left += s;
                right += 0.3f * s;
            } else {
                right += s;
                left += 0.3f * s;
            }
        }
        const float level = adsrLevel(shape, t, gate) * velocity * 0.22f;
        out.left[i] = level * filterLeft.lowPass(left);
        out.right[i] = level * filterRight.lowPass(right);
    }
    return out;
}

StereoBuffer renderLead(double pitch, double gate, float velocity, double brightness)
{
    const Adsr shape{0.012, 0.35, 0.65, 0.22};
    StereoBuffer out(secondsToFrames(adsrLength(shape, gate)));
    const double hz = noteToHz(pitch);
    const double detune = std::pow(2.0, 0.07 / 12.0);
    double carrierLeft = 0.0, carrierRight = 0.25, modulatorLeft = 0.0, modulatorRight = 0.1;
    const double richness = std::clamp(brightness, 0.0, 1.0);
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double vibratoDepth = 0.12 * std::clamp((t - 0.25) / 0.3, 0.0, 1.0);
        const double vibrato = std::pow(2.0, vibratoDepth * std::sin(twoPi * 5.2 * t) / 12.0);
        const double index = (0.5 + 1.5 * richness) + (0.8 + 3.5 * richness) * std::exp(-t / 0.15);
        const double fLeft = hz * vibrato / detune;
        const double fRight = hz * vibrato * detune;
        modulatorLeft += fLeft / sampleRate;
        modulatorRight += fRight / sampleRate;
        carrierLeft += fLeft / sampleRate;
        carrierRight += fRight / sampleRate;
        const double left = std::sin(twoPi * carrierLeft + index * std::sin(twoPi * modulatorLeft));
        const double right = std::sin(twoPi * carrierRight + index * std::sin(twoPi * modulatorRight));
        const double level = adsrLevel(shape, t, gate) * velocity * 0.8;
        out.left[i] = static_cast<float>(level * left);
        out.right[i] = static_cast<float>(level * right);
    }
    return out;
}

StereoBuffer renderArp(double pitch, double gate, float velocity, double cutoffHz)
{
    const Adsr shape{0.002, 0.12, 0.35, 0.08};
    StereoBuffer out(secondsToFrames(adsrLength(shape, gate)));
    Oscillator pulse;
    pulse.setFrequency(noteToHz(pitch));
    StateVariableFilter filter;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        if (i % filterUpdateInterval == 0) {
            filter.setCutoff(cutoffHz * (1.0 + 1.5 * std::exp(-t / 0.05)), 0.45);
        }
        const double width = 0.3 + 0.15 * std::sin(twoPi * 3.0 * t);
        const float sample = filter.lowPass(pulse.pulse(width)) * adsrLevel(shape, t, gate) * velocity;
        out.left[i] = sample;
        out.right[i] = sample;
    }
    return out;
}

StereoBuffer renderChime(double pitch, float velocity, double decay, double length)
{
    StereoBuffer out(secondsToFrames(length));
    const double hz = noteToHz(pitch);
    double carrier = 0.0, modulator = 0.0, shimmer = 0.0;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        carrier += hz / sampleRate;
        modulator += 3.5 * hz / sampleRate;
        shimmer += 2.0 * hz * 1.0013 / sampleRate;
        const double index = 0.3 + 2.2 * std::exp(-t / (0.25 * decay));
        const double tone = std::sin(twoPi * carrier + index * std::sin(twoPi * modulator));
        const double octave = 0.3 * std::sin(twoPi * shimmer) * std::exp(-t / (0.5 * decay));
        const double level = percussiveLevel(t, 0.003, decay, length) * velocity * 0.7;
        // The octave partial beats slowly against the fundamental; opposite signs per side
        // make that beating move across the stereo field.
        out.left[i] = static_cast<float>(level * (tone + octave));
        out.right[i] = static_cast<float>(level * (tone - octave));
    }
    return out;
}

}  // namespace soundtrack
