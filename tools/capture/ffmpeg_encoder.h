#pragma once
// Debian's ffmpeg as the video encoder, run as a child process fed by two pipes: raw RGB
// frames on its standard input, and raw float sound on a second pipe that a thread of ours
// fills, so that neither input waits for the other. ffmpeg runs in a process group of its own:
// a Ctrl-C at the terminal reaches the capture, which then stops ffmpeg itself.
#include "show/frame_rate.h"

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

struct EncoderSettings {
    std::string outputPath;  // its extension picks the container and, through it, the codecs
    uint32_t width = 0, height = 0;
    FrameRate rate;
    int crf = -1;             // -1: the encoder's default
    uint32_t sampleRate = 0;  // 0: no sound
    uint32_t channels = 0;
};

// ffmpeg's arguments (without the program name) for frames on pipe:0 and sound on pipe:3.
std::vector<std::string> ffmpegArguments(const EncoderSettings& settings);

// The path of `program` found along PATH, or "" where it is not.
std::string findProgram(const std::string& program);

class FfmpegEncoder {
public:
    FfmpegEncoder() = default;
    ~FfmpegEncoder();
    FfmpegEncoder(const FfmpegEncoder&) = delete;
    FfmpegEncoder& operator=(const FfmpegEncoder&) = delete;

    // Starts ffmpeg and the thread that writes `sound` (interleaved floats, all of it) into its
    // second input. False with a one-line reason when ffmpeg cannot be started.
    bool start(const EncoderSettings& settings, std::vector<float> sound, std::string& error);

    // One frame: width x height x 3 bytes, RGB, top row first. False once ffmpeg has gone.
    bool writeFrame(const std::vector<uint8_t>& rgb);

    // Ends both inputs and waits for ffmpeg. False with a reason when it did not finish well.
    bool finish(std::string& error);

    // Stops ffmpeg at once (for an interruption or a failure); the output is left as it is.
    void abort();

private:
    void closeInputs();

    pid_t child_ = -1;
    int videoPipe_ = -1;
    int soundPipe_ = -1;
    std::thread soundWriter_;
    bool soundWritten_ = false;
};
