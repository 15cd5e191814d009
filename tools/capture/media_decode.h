#pragma once
// A media file decoded by ffmpeg into what the report measures: its first video stream as RGBA8
// frames (top row first, sRGB as displayed) at a size of our choosing, every frame as the file
// holds it (no frame repeated or dropped to a rate), and its first audio stream as interleaved
// floats at the stream's own channels and rate.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Frames of `width` x `height`, each handed to `frame` as it is decoded. The number decoded in
// `frames`. False with a one-line reason where ffmpeg stops with an error (a cut file, one
// without video).
bool decodeVideoFrames(const std::string& path, uint32_t width, uint32_t height,
                       const std::function<void(const std::vector<uint8_t>& rgba)>& frame, uint64_t& frames,
                       std::string& error);

// Blocks of interleaved samples handed to `block` (the pointer and the number of frames); the
// total number of sample frames in `sampleFrames`.
bool decodeAudio(const std::string& path, uint32_t channels, uint32_t sampleRate,
                 const std::function<void(const float* samples, size_t frames)>& block, uint64_t& sampleFrames,
                 std::string& error);
