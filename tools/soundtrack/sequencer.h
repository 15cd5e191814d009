// The sequencer and mixer: plays every note of a score through its instrument and mixes the
// result, with the send effects (reverb, echo), the pads' chorus and the kick's ducking of the
// bass, pads and arpeggio. Returns the mix before mastering, exactly the score's length.
#pragma once

#include "audio.h"
#include "score.h"

namespace soundtrack {

StereoBuffer renderMix(const Score& score);

// One note rendered by its instrument as the mix would place it (before level and pan);
// exposed so each instrument can be checked on its own.
StereoBuffer renderNote(const Score& score, const NoteEvent& note, std::uint32_t seed);

}  // namespace soundtrack
