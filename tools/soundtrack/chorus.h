// Chorus for the pads: each channel is mixed with two copies of itself read through delays of
// 9 to 17 ms that slowly wander (0.2 to 0.4 Hz), in a different phase on each side, which
// widens and thickens sustained chords. Processes the buffer in place.
#pragma once

#include "audio.h"

namespace soundtrack {

void applyChorus(StereoBuffer& buffer);

}  // namespace soundtrack
