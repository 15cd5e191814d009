// The pitched instruments. Pitches are MIDI note numbers (fractions allowed), gates and
// lengths in seconds, velocity 0..1. Each renders one note, from its first sample to the end
// of its release, near 0 dBFS peak at full velocity.
#pragma once

#include "audio.h"
#include "curve.h"

#include <cstdint>

namespace soundtrack {

// Saw plus a sine at the fundamental through a resonant low-pass whose cutoff jumps up on
// each note and falls back; brightness 0..1 sets how far it opens.
StereoBuffer renderBass(double pitch, double gate, float velocity, double brightness);

// Seven detuned saws spread across the stereo field through a slow low-pass. The cutoff
// follows `cutoffHz` read at the show's time (startSeconds + time into the note), so a long
// chord opens and closes with the picture.
StereoBuffer renderPad(double pitch, double gate, float velocity, double startSeconds, const Curve& cutoffHz,
                       std::uint32_t seed);

// Two-operator FM lead, two slightly detuned voices (one per side), with delayed vibrato;
// brightness 0..1 sets the modulation index.
StereoBuffer renderLead(double pitch, double gate, float velocity, double brightness);

// Pulse wave with a moving width through a low-pass at cutoffHz, plucked envelope.
StereoBuffer renderArp(double pitch, double gate, float velocity, double cutoffHz);

// Inharmonic FM bell with a long exponential decay (decay: time constant in seconds), fading
// to exactly 0 at `length`.
StereoBuffer renderChime(double pitch, float velocity, double decay, double length);

}  // namespace soundtrack
