// Amplitude envelopes as pure functions of the time since the note began (seconds), so any
// voice can be rendered from any start. Every shape starts at 0 and ends at exactly 0: a voice
// that follows one never clicks on or off.
#pragma once

namespace soundtrack {

// Attack (linear rise to 1), decay (exponential fall towards sustain, `decay` being the time
// constant), sustain while the gate is held, release (quadratic fall to 0 over `release`).
struct Adsr {
    double attack = 0.005;  // seconds, at least one millisecond is used
    double decay = 0.2;     // seconds (time constant)
    double sustain = 0.7;   // level 0..1
    double release = 0.1;   // seconds, at least one millisecond is used
};

// gate: how long the note is held, seconds. The level is 0 from gate + release on.
float adsrLevel(const Adsr& shape, double time, double gate);
double adsrLength(const Adsr& shape, double gate);

// A struck sound: linear attack, exponential decay with time constant `decay`, and a cosine
// fade over the last fifth of `length` so the tail reaches exactly 0 at `length`.
float percussiveLevel(double time, double attack, double decay, double length);

}  // namespace soundtrack
