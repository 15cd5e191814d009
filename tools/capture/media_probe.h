#pragma once
// What ffprobe says about a media file: its container, and its first video and first audio
// stream (codec, profile, level, pixel format, size, rates, bit rates, durations). Read from
// ffprobe's flat key=value output, which needs no parser of its own.
#include <cstdint>
#include <map>
#include <string>

struct VideoStreamFacts {
    bool present = false;
    std::string codec, profile, pixelFormat;
    int level = 0;  // H.264's level times ten (42 for 4.2); 0 where none is given
    uint32_t width = 0, height = 0;
    double frameRate = 0;         // the stream's base rate (r_frame_rate)
    double averageFrameRate = 0;  // frames over duration (avg_frame_rate)
    double bitRate = 0;           // bits a second; 0 where the container does not say
    double duration = 0;          // seconds; 0 where the stream does not say
};

struct AudioStreamFacts {
    bool present = false;
    std::string codec;
    uint32_t channels = 0, sampleRate = 0;
    double bitRate = 0;
    double duration = 0;
};

struct MediaFacts {
    std::string container;
    double duration = 0;
    double bitRate = 0;
    VideoStreamFacts video;
    AudioStreamFacts audio;
};

// ffprobe's flat output as keys and values, the quotes taken off.
std::map<std::string, std::string> parseFlatOutput(const std::string& text);

// The facts from ffprobe's flat output (parsed above).
MediaFacts mediaFactsFrom(const std::map<std::string, std::string>& flat);

// Runs ffprobe on `path`. False with a one-line reason where it is not a media file ffprobe
// reads, or has neither video nor audio.
bool probeMedia(const std::string& path, MediaFacts& facts, std::string& error);
