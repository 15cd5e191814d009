#pragma once
// The soundtrack for a video: the show's Ogg Vorbis file decoded whole to float samples, and
// the stretch of it that goes with a run of frames.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedSound {
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
    std::vector<float> samples;  // interleaved, `channels` per frame of sound
};

// False with a one-line reason when the file cannot be read or decoded.
bool decodeSoundtrack(const char* path, DecodedSound& sound, std::string& error);

// `count` sound frames from `first` on, interleaved: the sound where it has them, silence past
// its end, so that the result is exactly as long as asked.
std::vector<float> soundtrackStretch(const DecodedSound& sound, uint64_t first, uint64_t count);
