#pragma once
// The capture tool's command line.
//
//   capture --time T --out frame.png [--size WxH] [--fps F]
//   capture --sheet sheet.png [--size WxH] [--fps F]
//   capture --filmstrip strip.png [--size WxH] [--fps F]
//   capture --out show.mp4 [--size WxH] [--fps F] [--crf N] [--from T0] [--to T1]
//   capture --frames DIR [--size WxH] [--fps F] [--from T0] [--to T1]
//   capture --report video.mp4 [--strict]
//
// A frame, a video and frames also take --subframes N [--shutter S] (motion blur by frame
// stacking); a video and --report take --strict (a report line that fails is exit status 1).
//
// --fps is the rate the show is taken to be played at (an integer or a fraction such as
// 60000/1001): it decides the times of the frames, and so the state earlier frames hand on.
#include "show/frame_rate.h"

#include <cstdint>
#include <string>
#include <vector>

enum class CaptureMode { Frame, Sheet, Filmstrip, Video, Frames, Report };

struct CaptureOptions {
    CaptureMode mode = CaptureMode::Frame;
    double time = 0.0;       // seconds of demo time, for a single frame
    std::string outputPath;  // the file, or the folder for --frames
    uint32_t width = 0;      // 0: the mode's default
    uint32_t height = 0;
    FrameRate rate;
    double from = 0.0;       // the part of the show a video or frame folder holds
    double to = 140.0;       //   (the show closes itself before the end of this range)
    int crf = -1;            // the encoder's constant rate factor; -1: its default
    int subframes = 1;       // frames averaged into each frame, across the open shutter
    double shutter = 0.5;    // the share of the frame interval the shutter is open
    std::string reportPath;  // the video to report on
    bool strict = false;     // a report line that fails makes the exit status 1
};

// False with a one-line reason in `error` when the arguments don't make a capture.
bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error);

// "WxH", each side 16 to 8192.
bool parseFrameSize(const std::string& text, uint32_t& width, uint32_t& height);

// "60", "60000/1001": a positive rate of at most 1000 frames a second.
bool parseFrameRate(const std::string& text, FrameRate& rate);

extern const char* const captureUsage;
