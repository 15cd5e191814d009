// Reads an Ogg Vorbis file back into the synthesizer's stereo buffers, as a listener's player
// would decode it, so the report measures the file the show ships rather than the mix before
// encoding.
#pragma once

#include "audio.h"

#include <string>

namespace soundtrack {

struct DecodedOgg {
    StereoBuffer programme;  // a mono file is copied to both sides
    int rateHz = 0;          // Hz, as the file says
};

// False, with a one-line reason in `error` (naming the file), when the file is missing, is not
// Ogg Vorbis, is cut short or has more than two channels.
bool decodeOggVorbis(const std::string& path, DecodedOgg& decoded, std::string& error);

}  // namespace soundtrack
