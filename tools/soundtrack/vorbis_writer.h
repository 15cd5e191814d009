// Encodes a stereo programme to an Ogg Vorbis file with libvorbisenc in variable-bit-rate mode.
// The stream's serial number is fixed by the caller, so the same samples always give the same
// bytes.
#pragma once

#include "audio.h"

#include <string>

namespace soundtrack {

struct VorbisSettings {
    float quality = 0.6f;  // libvorbis quality -0.1 .. 1.0 (0.6 is "quality 6", ~190 kbit/s)
    int serialNumber = 7928;
};

// Returns false and sets `error` to one line if the encoder or the file fails.
bool writeOggVorbis(const std::string& path, const StereoBuffer& programme, const VorbisSettings& settings,
                    std::string& error);

}  // namespace soundtrack
