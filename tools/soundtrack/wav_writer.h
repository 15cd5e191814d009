// Writes a stereo programme as a 16-bit PCM WAV file for quick listening and inspection.
#pragma once

#include "audio.h"

#include <string>

namespace soundtrack {

// Samples are clamped to [-1, 1], dithered (triangular, one least significant bit, fixed seed)
// and rounded. Returns false and sets `error` to one line if the file cannot be written.
bool writeWav(const std::string& path, const StereoBuffer& programme, std::string& error);

}  // namespace soundtrack
