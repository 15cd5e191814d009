#pragma once
// A run of the show's frames, each at its exact time i / fps, read back through a ring of
// pixel buffers and handed to a second thread that converts them and writes them out: to
// ffmpeg with the soundtrack (a video), to numbered PNG files (--frames), or nowhere (to
// measure rendering alone). Needs the show started headless at the frame size.
#include "capture_options.h"
#include "frame_stacking.h"
#include "soundtrack_samples.h"

#include <cstdint>
#include <string>

struct Show;

enum class FrameDestination { Video, PngFolder, Nowhere };

struct MovingCapture {
    FrameDestination destination = FrameDestination::Video;
    std::string outputPath;  // the video file or the folder of frames
    uint32_t width = 0, height = 0;
    FrameRate rate;
    double from = 0.0, to = 140.0;
    int crf = -1;
    Shutter shutter;  // more than one sub-frame: each frame stacked across the open shutter
    const char* soundtrackPath = "demooooooo.ogg";
    bool showProgress = true;
};

// Where the time went, in seconds of wall time on each thread.
struct CaptureFigures {
    uint64_t frames = 0;
    double wallSeconds = 0.0;
    double renderSeconds = 0.0;    // drawing, on the main thread
    double readbackSeconds = 0.0;  // starting and collecting read-backs, main thread
    double convertSeconds = 0.0;   // flipping rows and dropping alpha, writer thread
    double writeSeconds = 0.0;     // handing frames to ffmpeg or to PNG files, writer thread
    double finishSeconds = 0.0;    // waiting for ffmpeg to finish after the last frame
};

// What is settled before the first frame.
struct PreparedCapture {
    DecodedSound sound;
    std::string partialPath;  // where a video is written until it is complete
};

// Checks what can be checked before any frame is drawn, in the data folder: ffmpeg is there,
// the output can be written, the soundtrack decodes. False with a one-line reason.
bool prepareMovingCapture(const MovingCapture& capture, PreparedCapture& prepared, std::string& error);

// Draws and writes the frames, the show played at its rate (the capture's). Returns the exit status: 0 when complete; 1
// with a message on standard error when it failed; 130 when interrupted (Ctrl-C). On failure or interruption no
// complete-looking output is left: a video's partial file is removed.
int runMovingCapture(Show& show, const MovingCapture& capture, PreparedCapture& prepared, CaptureFigures& figures);

// "show.mp4" -> "show.partial.mp4": the name a video has while it is being written.
std::string partialPathFor(const std::string& path);
