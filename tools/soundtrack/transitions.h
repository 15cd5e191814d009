// The sounds that carry the picture across its cuts: a riser that builds into a cut and an
// impact that lands on it.
#pragma once

#include "audio.h"

#include <cstdint>

namespace soundtrack {

// Noise through a band-pass sweeping from 250 Hz to 9 kHz and two detuned saws gliding up an
// octave from `pitch`, growing louder over `length` seconds and stopping at its end (with a
// 10 ms fade) so the cut lands on silence before the impact.
StereoBuffer renderRiser(double pitch, double length, float velocity, std::uint32_t seed);

// A falling sub boom (70 Hz to 32 Hz) and a burst of noise whose low-pass closes from 7 kHz,
// decaying over `length` seconds (time constant a quarter of it).
StereoBuffer renderImpact(float velocity, double length, std::uint32_t seed);

}  // namespace soundtrack
