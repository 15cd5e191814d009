#include "moving_capture.h"

#include "ffmpeg_encoder.h"
#include "frame_queue.h"
#include "frame_range.h"
#include "headless_show.h"
#include "pixel_readback_ring.h"
#include "progress_line.h"

#include "core/gl_api.h"

#include <stb/stb_image_write.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

double secondsSince(Clock::time_point begin)
{
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

// Bottom-up RGBA as GL reads it, to top-down rows of `channels` (3: RGB, 4: RGBA).
void toTopDown(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height, int channels,
               std::vector<uint8_t>& out)
{
    out.resize(size_t(width) * height * size_t(channels));
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* from = rgba.data() + size_t(height - 1 - y) * width * 4;
        uint8_t* to = out.data() + size_t(y) * width * size_t(channels);
        if (channels == 4) {
            std::memcpy(to, from, size_t(width) * 4);
            continue;
        }
        for (uint32_t x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
}

std::string frameFileName(const std::string& folder, uint64_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(index));
    return folder + "/" + name;
}

// The writer thread's side: converts each frame and hands it on, until the queue closes or a
// write fails (then it keeps draining, so the renderer never blocks on a full queue).
struct FrameWriter {
    FrameWriter(const MovingCapture& what, FfmpegEncoder* to, FrameQueue& from)
        : capture(what), encoder(to), queue(from)
    {}

    const MovingCapture& capture;
    FfmpegEncoder* encoder;
    FrameQueue& queue;
    double convertSeconds = 0.0;
    double writeSeconds = 0.0;
    std::atomic<bool> failed{false};
    std::string failure;

    void run()
    {
        QueuedFrame frame;
        std::vector<uint8_t> converted;
        while (queue.pop(frame)) {
            if (failed || capture.destination == FrameDestination::Nowhere)
                continue;
            const Clock::time_point converting = Clock::now();
            const int channels = capture.destination == FrameDestination::Video ? 3 : 4;
            toTopDown(frame.rgba, capture.width, capture.height, channels, converted);
            const Clock::time_point writing = Clock::now();
            convertSeconds += std::chrono::duration<double>(writing - converting).count();
            if (capture.destination == FrameDestination::Video) {
                if (!encoder->writeFrame(converted)) {
                    failure = "ffmpeg stopped taking frames (see its message above)";
                    failed = true;
                }
            } else {
                const std::string path = frameFileName(capture.outputPath, frame.index);
                const std::string partial = path + ".partial";
                if (!stbi_write_png(partial.c_str(), int(capture.width), int(capture.height), 4, converted.data(),
                                    int(capture.width) * 4) ||
                    std::rename(partial.c_str(), path.c_str()) != 0) {
                    std::remove(partial.c_str());
                    failure = "cannot write " + path;
                    failed = true;
                }
            }
            writeSeconds += secondsSince(writing);
        }
    }
};

bool canCreate(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace

std::string partialPathFor(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        return path + ".partial";
    return path.substr(0, dot) + ".partial" + path.substr(dot);
}

bool prepareMovingCapture(const MovingCapture& capture, PreparedCapture& prepared, std::string& error)
{
    const FrameRange range = videoFrameRange(capture.rate, capture.from, capture.to);
    if (range.count == 0) {
        error = "no frame of the show lies in that range";
        return false;
    }
    if (capture.destination == FrameDestination::PngFolder) {
        std::error_code failure;
        std::filesystem::create_directories(capture.outputPath, failure);
        if (failure || !std::filesystem::is_directory(capture.outputPath)) {
            error = "cannot make the folder " + capture.outputPath + (failure ? ": " + failure.message() : "");
            return false;
        }
        return canCreate(frameFileName(capture.outputPath, range.first) + ".partial", error) &&
               std::remove((frameFileName(capture.outputPath, range.first) + ".partial").c_str()) == 0;
    }
    if (capture.destination != FrameDestination::Video)
        return true;
    if (findProgram("ffmpeg").empty()) {
        error = "ffmpeg not found: install ffmpeg (sudo apt-get install ffmpeg)";
        return false;
    }
    prepared.partialPath = partialPathFor(capture.outputPath);
    if (!canCreate(prepared.partialPath, error))
        return false;
    std::remove(prepared.partialPath.c_str());
    return decodeSoundtrack(capture.soundtrackPath, prepared.sound, error);
}

namespace {

// Starts ffmpeg on the partial file with the sound that goes with these frames, to the sample:
// from the first frame's time, as long as the frames last, silence past the soundtrack's end.
bool startVideoEncoder(const MovingCapture& capture, PreparedCapture& prepared, const FrameRange& range,
                       FfmpegEncoder& encoder)
{
    EncoderSettings settings;
    settings.outputPath = prepared.partialPath;
    settings.width = capture.width;
    settings.height = capture.height;
    settings.rate = capture.rate;
    settings.crf = capture.crf;
    settings.sampleRate = prepared.sound.sampleRate;
    settings.channels = prepared.sound.channels;
    std::vector<float> sound =
        soundtrackStretch(prepared.sound, samplesForFrames(range.first, capture.rate, settings.sampleRate),
                          samplesForFrames(range.count, capture.rate, settings.sampleRate));
    prepared.sound.samples.clear();
    prepared.sound.samples.shrink_to_fit();
    std::string error;
    if (!encoder.start(settings, std::move(sound), error)) {
        std::fprintf(stderr, "capture: %s\n", error.c_str());
        return false;
    }
    return true;
}

// While it lives, Ctrl-C and SIGTERM only set `interrupted`, so the run can stop between frames
// and clean up; the handlers from before are put back when it goes.
class InterruptCatcher {
public:
    InterruptCatcher()
    {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~InterruptCatcher()
    {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    struct sigaction previousInt_ {
    }, previousTerm_{};
};

// How the frames went: how many reached the writer, and what stopped the run early.
struct FramesOutcome {
    uint64_t collected = 0;
    bool readFailed = false;
    bool writeFailed = false;
    std::string writeFailure;
};

// A stacked frame, drawn sub-frame by sub-frame and read back whole (each sub-frame must be read
// before the next is drawn), as the read-back ring would hand it on: bottom row first.
QueuedFrame stackedFrame(Show& show, const MovingCapture& capture, uint64_t index)
{
    const std::vector<uint8_t> topDown =
        captureStackedShowFrame(show, capture.rate.frameTime(index), capture.rate.frameTime(1), capture.shutter);
    QueuedFrame frame;
    frame.index = index;
    frame.rgba.resize(topDown.size());
    const size_t row = size_t(capture.width) * 4;
    for (uint32_t y = 0; y < capture.height; ++y)
        std::memcpy(&frame.rgba[size_t(capture.height - 1 - y) * row], &topDown[size_t(y) * row], row);
    return frame;
}

// Draws each frame of the range at its exact time and passes it through the read-back ring to
// the writer thread, until the range is done, Ctrl-C, or a read-back or write fails.
FramesOutcome drawAndWriteFrames(Show& show, const MovingCapture& capture, const FrameRange& range,
                                 FfmpegEncoder& encoder, CaptureFigures& figures)
{
    InterruptCatcher interruptCatcher;
    FrameQueue queue(3);
    FrameWriter writer(capture, &encoder, queue);
    std::thread writerThread([&] { writer.run(); });
    PixelReadbackRing ring(capture.width, capture.height);
    ProgressLine progress(range.count, capture.showProgress);

    FramesOutcome outcome;
    auto collectOldest = [&]() {
        const Clock::time_point reading = Clock::now();
        QueuedFrame frame;
        frame.index = range.first + outcome.collected;
        outcome.readFailed = !ring.takeOldest(frame.rgba) || outcome.readFailed;
        figures.readbackSeconds += secondsSince(reading);
        queue.push(std::move(frame));
        ++outcome.collected;
        progress.update(outcome.collected);
    };

    for (uint64_t i = 0; i < range.count && !interrupted && !writer.failed && !outcome.readFailed; ++i) {
        const double t = capture.rate.frameTime(range.first + i);
        const Clock::time_point drawing = Clock::now();
        if (capture.shutter.subframes > 1) {
            queue.push(stackedFrame(show, capture, range.first + i));
            figures.renderSeconds += secondsSince(drawing);
            progress.update(++outcome.collected);
            continue;
        }
        presentShowFrame(show, t);
        figures.renderSeconds += secondsSince(drawing);
        if (ring.full())
            collectOldest();
        const Clock::time_point reading = Clock::now();
        ring.startRead();
        figures.readbackSeconds += secondsSince(reading);
    }
    while (!ring.empty() && !interrupted && !writer.failed && !outcome.readFailed)
        collectOldest();
    queue.close();
    writerThread.join();
    progress.finish();

    figures.frames = outcome.collected;
    figures.convertSeconds = writer.convertSeconds;
    figures.writeSeconds = writer.writeSeconds;
    outcome.writeFailed = writer.failed;
    outcome.writeFailure = writer.failure;
    return outcome;
}

enum class VideoEnd { Written, Dropped, NotNamed };

// A complete run's video is finished by ffmpeg and takes its name; any other run's partial file
// is removed. NotNamed when the finished video could not be given its name (said here).
VideoEnd finishVideo(const MovingCapture& capture, const PreparedCapture& prepared, FfmpegEncoder& encoder,
                     bool complete, CaptureFigures& figures)
{
    std::string error;
    const Clock::time_point finishing = Clock::now();
    if (complete && encoder.finish(error)) {
        figures.finishSeconds = secondsSince(finishing);
        if (std::rename(prepared.partialPath.c_str(), capture.outputPath.c_str()) != 0) {
            std::fprintf(stderr, "capture: cannot name the video %s: %s\n", capture.outputPath.c_str(),
                         std::strerror(errno));
            std::remove(prepared.partialPath.c_str());
            return VideoEnd::NotNamed;
        }
        return VideoEnd::Written;
    }
    encoder.abort();
    std::remove(prepared.partialPath.c_str());
    if (complete)
        std::fprintf(stderr, "capture: %s; nothing written\n", error.c_str());
    return VideoEnd::Dropped;
}

// The exit status, with the reason on standard error when the run stopped early.
int exitStatusOf(const MovingCapture& capture, const FramesOutcome& outcome, bool complete)
{
    if (interrupted) {
        if (capture.destination == FrameDestination::Video)
            std::fprintf(stderr, "capture: interrupted; the unfinished video was removed\n");
        else
            std::fprintf(stderr, "capture: interrupted after %llu frames\n",
                         static_cast<unsigned long long>(outcome.collected));
        return 130;
    }
    if (outcome.readFailed) {
        std::fputs("capture: the driver could not map a read-back buffer; nothing written\n", stderr);
        return 1;
    }
    if (outcome.writeFailed) {
        std::fprintf(stderr, "capture: %s%s\n", outcome.writeFailure.c_str(),
                     capture.destination == FrameDestination::Video ? "; nothing written" : "");
        return 1;
    }
    return complete ? 0 : 1;
}

}  // namespace

int runMovingCapture(Show& show, const MovingCapture& capture, PreparedCapture& prepared, CaptureFigures& figures)
{
    const FrameRange range = videoFrameRange(capture.rate, capture.from, capture.to);
    const Clock::time_point begin = Clock::now();

    FfmpegEncoder encoder;
    if (capture.destination == FrameDestination::Video && !startVideoEncoder(capture, prepared, range, encoder))
        return 1;
    const FramesOutcome outcome = drawAndWriteFrames(show, capture, range, encoder, figures);
    bool complete = outcome.collected == range.count && !outcome.writeFailed && !outcome.readFailed && !interrupted;
    if (capture.destination == FrameDestination::Video) {
        const VideoEnd end = finishVideo(capture, prepared, encoder, complete, figures);
        if (end == VideoEnd::NotNamed)
            return 1;
        complete = end == VideoEnd::Written;
    }
    figures.wallSeconds = secondsSince(begin);
    return exitStatusOf(capture, outcome, complete);
}
