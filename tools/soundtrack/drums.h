// The drum kit. Each function renders one hit, from its first sample to the end of its tail,
// at full velocity near 0 dBFS peak; velocity 0..1 scales the level and, where it matters,
// the brightness. The seed fixes the noise, so a repeated hit can vary yet renders the same
// every time.
#pragma once

#include "audio.h"

#include <cstdint>

namespace soundtrack {

// Pitch-swept sine (170 Hz falling to A1, 55 Hz, the key's tonic) with a short tail and a
// click on top.
StereoBuffer renderKick(float velocity, std::uint32_t seed);
// Two pitched tones for the body and band-passed noise for the wires.
StereoBuffer renderSnare(float velocity, std::uint32_t seed);
// Three quick noise bursts and a short room tail, slightly different in each channel.
StereoBuffer renderClap(float velocity, std::uint32_t seed);
// Metallic square partials and noise, high-passed; short and long decays.
StereoBuffer renderClosedHat(float velocity, std::uint32_t seed);
StereoBuffer renderOpenHat(float velocity, std::uint32_t seed);
// A wide, long cymbal wash for the downbeats that open a section.
StereoBuffer renderCrash(float velocity, std::uint32_t seed);

}  // namespace soundtrack
