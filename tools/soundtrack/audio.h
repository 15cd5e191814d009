// Shared conventions of the synthesizer: one fixed sample rate, stereo buffers of float
// samples in [-1, 1] at full scale, times in seconds (double), pitches as MIDI note numbers.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundtrack {

constexpr int sampleRate = 44100;
constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;

// Two channels kept apart (not interleaved): the effects run per channel.
struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    StereoBuffer() = default;
    explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }
};

inline std::size_t secondsToFrames(double seconds)
{
    return seconds <= 0.0 ? 0 : static_cast<std::size_t>(std::llround(seconds * sampleRate));
}

// MIDI note 69 is A4 = 440 Hz, twelve equal steps per octave.
inline double noteToHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

inline double decibelsToGain(double decibels)
{
    return std::pow(10.0, decibels / 20.0);
}
inline double gainToDecibels(double gain)
{
    return 20.0 * std::log10(gain);
}

// Equal-power pan: -1 is hard left, 0 centre (both gains 1/sqrt 2), +1 hard right.
struct PanGains {
    float left;
    float right;
};
inline PanGains panGains(double pan)
{
    const double angle = (pan + 1.0) * pi / 4.0;
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

// A small, fast generator for noise and detuning. Seeded explicitly wherever it is used so
// every render is the same, sample for sample.
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // Uniform in [-1, 1).
    float bipolar() { return static_cast<float>(next() >> 8) * (2.0f / 16777216.0f) - 1.0f; }
    // Uniform in [0, 1).
    float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }

private:
    std::uint32_t state;
};

}  // namespace soundtrack
