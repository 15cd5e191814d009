// Tempo-synced ping-pong echo on a send: the first echo comes back on the left after
// `delaySeconds`, the next on the right after twice that, and so on, each left-right pair
// quieter by `feedback`. The repeats are band-limited (300 Hz to 5 kHz) so they sit behind the
// dry sound. Returns only the echoes.
#pragma once

#include "audio.h"

namespace soundtrack {

StereoBuffer applyPingPongDelay(const StereoBuffer& send, double delaySeconds, double feedback);

}  // namespace soundtrack
