#include "drums.h"

#include "envelope.h"
#include "filters.h"
#include "oscillators.h"

#include <array>
#include <cmath>

namespace soundtrack {

namespace {

// Inharmonic square partials (Hz) that give a hat its metallic ring.
constexpr std::array<double, 6> metalPartials = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

// Metal plus noise through a high-pass and a band-pass; decay and length in seconds.
StereoBuffer renderMetal(float velocity, std::uint32_t seed, double decay, double length, double highPassHz,
                         double noiseMix)
{
    StereoBuffer out(secondsToFrames(length));
    std::array<Oscillator, 6> partials;
    for (std::size_t i = 0; i < partials.size(); ++i) {
        partials[i].setFrequency(metalPartials[i] * 1.6);
    }
    Random noise(seed);
    StateVariableFilter highLeft, highRight, bandLeft, bandRight;
    highLeft.setCutoff(highPassHz, 0.2);
    highRight.setCutoff(highPassHz, 0.2);
    // The band sits where the ear is keenest (5-7 kHz): the hats give the mix its presence.
    const double bandHz = 5200.0 + 1500.0 * velocity;
    bandLeft.setCutoff(bandHz, 0.3);
    bandRight.setCutoff(bandHz * 1.07, 0.3);
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        float metal = 0.0f;
        for (auto& partial : partials) {
            metal += partial.pulse(0.5);
        }
        metal *= 1.0f / 6.0f;
        const float envelope = percussiveLevel(t, 0.0008, decay, length) * velocity;
        const float left =
            (1.0f - static_cast<float>(noiseMix)) * metal + static_cast<float>(noiseMix) * noise.bipolar();
        const float right =
            (1.0f - static_cast<float>(noiseMix)) * metal + static_cast<float>(noiseMix) * noise.bipolar();
        const float l = highLeft.highPass(left);
        const float r = highRight.highPass(right);
        out.left[i] = envelope * (0.6f * l + 0.9f * bandLeft.bandPass(l));
        out.right[i] = envelope * (0.6f * r + 0.9f * bandRight.bandPass(r));
    }
    return out;
}

void copyLeftToRight(StereoBuffer& buffer)
{
    buffer.right = buffer.left;
}

}  // namespace

StereoBuffer renderKick(float velocity, std::uint32_t seed)
{
    // A short tail: the body is gone in a third of a second, so the bass that follows each
    // kick (ducked under it) has the low end to itself for the rest of the beat.
    constexpr double length = 0.32;
    StereoBuffer out(secondsToFrames(length));
    Random noise(seed);
    StateVariableFilter clickFilter;
    clickFilter.setCutoff(3500.0, 0.4);
    double phase = 0.0;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        // Tuned to the key: the sweep settles on A1 (55 Hz), the tonic under every chord.
        const double hz = 55.0 + 115.0 * std::exp(-t / 0.03);
        phase += hz / sampleRate;
        const double body = std::sin(twoPi * phase) * percussiveLevel(t, 0.0015, 0.085, length);
        const double click = clickFilter.bandPass(noise.bipolar()) * percussiveLevel(t, 0.0005, 0.004, 0.02);
        // A little saturation rounds the attack and gives the body harmonics that small
        // speakers can reproduce.
        const double shaped = std::tanh(1.6 * body) / std::tanh(1.6) + 0.5 * click;
        out.left[i] = static_cast<float>(shaped * velocity);
    }
    copyLeftToRight(out);
    return out;
}

StereoBuffer renderSnare(float velocity, std::uint32_t seed)
{
    constexpr double length = 0.32;
    StereoBuffer out(secondsToFrames(length));
    Random noise(seed);
    StateVariableFilter wires;
    wires.setCutoff(4200.0, 0.25);
    double phaseLow = 0.0, phaseHigh = 0.0;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double drop = 1.0 + 0.4 * std::exp(-t / 0.01);
        phaseLow += 185.0 * drop / sampleRate;
        phaseHigh += 330.0 * drop / sampleRate;
        const double tone = (0.6 * std::sin(twoPi * phaseLow) + 0.35 * std::sin(twoPi * phaseHigh)) *
                            percussiveLevel(t, 0.001, 0.055, 0.25);
        const auto n = wires.process(noise.bipolar());
        const double rattle = (0.8 * n.band + 0.5 * n.high) * percussiveLevel(t, 0.001, 0.11, length);
        out.left[i] = static_cast<float>((tone + rattle) * velocity);
    }
    copyLeftToRight(out);
    return out;
}

StereoBuffer renderClap(float velocity, std::uint32_t seed)
{
    constexpr double length = 0.4;
    StereoBuffer out(secondsToFrames(length));
    Random noise(seed);
    StateVariableFilter bandLeft, bandRight;
    bandLeft.setCutoff(1400.0, 0.4);
    bandRight.setCutoff(1550.0, 0.4);
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double envelope = percussiveLevel(t - 0.024, 0.001, 0.09, length - 0.024);
        for (double burst : {0.0, 0.011, 0.022}) {
            envelope += percussiveLevel(t - burst, 0.0005, 0.005, 0.012);
        }
        const float level = static_cast<float>(envelope) * velocity * 2.2f;
        out.left[i] = level * bandLeft.bandPass(noise.bipolar());
        out.right[i] = level * bandRight.bandPass(noise.bipolar());
    }
    return out;
}

StereoBuffer renderClosedHat(float velocity, std::uint32_t seed)
{
    return renderMetal(velocity, seed, 0.03, 0.12, 7000.0, 0.45);
}

StereoBuffer renderOpenHat(float velocity, std::uint32_t seed)
{
    return renderMetal(velocity, seed, 0.22, 0.6, 6500.0, 0.5);
}

StereoBuffer renderCrash(float velocity, std::uint32_t seed)
{
    return renderMetal(velocity, seed, 0.9, 3.5, 4500.0, 0.7);
}

}  // namespace soundtrack
