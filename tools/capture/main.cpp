// capture: looks at the show without playing it. Runs the show's own start-up on the headless
// platform and draws chosen moments with the demo time set per frame instead of read from the
// clock, as the show would draw them played at --fps.
//
//   capture --time T --out frame.png [--size WxH] [--fps F]    one frame
//   capture --sheet sheet.png [--size WxH] [--fps F]           the contact sheet
//   capture --filmstrip strip.png [--size WxH] [--fps F]       a frame a second, and its figures
//   capture --out show.mp4 [--size WxH] [--fps F] [--crf N] [--from T0] [--to T1]
//                                                              a video with the soundtrack
//   capture --frames DIR [--size WxH] [--fps F] [--from T0] [--to T1]
//                                                              numbered PNG frames
//
// Run it from anywhere: it works in its own folder, where the show's data lies.
#include "capture_options.h"
#include "contact_sheet.h"
#include "filmstrip.h"
#include "headless_show.h"
#include "moving_capture.h"
#include "publish_report.h"

#include "core/gl_api.h"
#include "show/show.h"

#include <stb/stb_image_write.h>

#include <algorithm>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

bool writePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba)
{
    if (stbi_write_png(path.c_str(), int(width), int(height), 4, rgba.data(), int(width) * 4))
        return true;
    std::fprintf(stderr, "capture: could not write %s\n", path.c_str());
    return false;
}

// Output paths are taken relative to the caller's folder, before the move to the data.
std::string absolutePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

bool enterDataFolder(const char* argv0)
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::canonical("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path(argv0).parent_path() : executable.parent_path();
    if (folder.empty())
        return true;
    std::filesystem::current_path(folder, error);
    if (error)
        std::fprintf(stderr, "capture: cannot enter %s: %s\n", folder.c_str(), error.message().c_str());
    return !error;
}

// A video or a folder of frames: what can be refused is refused before the show starts.
bool prepareMoving(const CaptureOptions& options, const std::string& outputPath, MovingCapture& capture,
                   PreparedCapture& prepared)
{
    capture.destination = options.mode == CaptureMode::Video ? FrameDestination::Video : FrameDestination::PngFolder;
    capture.outputPath = outputPath;
    capture.width = options.width;
    capture.height = options.height;
    capture.rate = options.rate;
    capture.from = options.from;
    capture.to = options.to;
    capture.crf = options.crf;
    capture.shutter = Shutter{options.subframes, options.shutter};
    std::string error;
    if (prepareMovingCapture(capture, prepared, error))
        return true;
    std::fprintf(stderr, "capture: %s\n", error.c_str());
    return false;
}

// The pbuffer was made at the frame size; the renderer's targets must fit the driver too.
bool fitsTheDriver(uint32_t width, uint32_t height)
{
    GLint largest = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const GLint limit = std::min(largest, std::min(viewport[0], viewport[1]));
    if (limit <= 0 || (GLint(width) <= limit && GLint(height) <= limit))
        return true;
    std::fprintf(stderr, "capture: %ux%u is beyond this driver's limit of %d pixels a side\n", width, height, limit);
    return false;
}

// A video ends with its report for publishing; under --strict a line that fails fails the run.
int writeMoving(Show& show, const MovingCapture& capture, PreparedCapture& prepared, bool strict)
{
    CaptureFigures figures;
    const int status = runMovingCapture(show, capture, prepared, figures);
    if (status == 0)
        std::printf("%s: %llu frames of %ux%u (%.2f s of the show) in %.1f s, %.1f frames/s\n",
                    capture.outputPath.c_str(), static_cast<unsigned long long>(figures.frames), capture.width,
                    capture.height, capture.rate.frameTime(figures.frames), figures.wallSeconds,
                    figures.wallSeconds > 0.0 ? double(figures.frames) / figures.wallSeconds : 0.0);
    if (status != 0 || capture.destination != FrameDestination::Video)
        return status;
    std::fflush(stdout);
    const int reportStatus = runPublishReport(capture.outputPath, strict, std::cout, std::cerr);
    return strict ? reportStatus : 0;
}

int writeOneFrame(Show& show, const CaptureOptions& options, const std::string& outputPath)
{
    const Shutter shutter{options.subframes, options.shutter};
    const std::vector<uint8_t> frame = captureStackedShowFrame(show, options.time, options.rate.frameTime(1), shutter);
    if (!writePng(outputPath, options.width, options.height, frame))
        return 1;
    std::printf("%s: %ux%u at t = %g s\n", outputPath.c_str(), options.width, options.height, options.time);
    return 0;
}

int writeContactSheet(Show& show, const CaptureOptions& options, const std::string& outputPath)
{
    std::vector<std::vector<uint8_t>> tiles;
    std::vector<std::string> labels;
    for (double t : contactSheetTimes()) {
        tiles.push_back(captureShowFrame(show, t));
        labels.push_back(timeLabel(t));
    }
    const SheetImage sheet = layOutContactSheet(tiles, labels, options.width, options.height, 3);
    if (!writePng(outputPath, sheet.width, sheet.height, sheet.rgba))
        return 1;
    std::printf("%s: %zu frames of %ux%u\n", outputPath.c_str(), tiles.size(), options.width, options.height);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Stage 1: what to draw.
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "capture: %s\n%s", error.c_str(), captureUsage);
        return 2;
    }
    if (options.mode == CaptureMode::Report)
        return runPublishReport(options.reportPath, options.strict, std::cout, std::cerr);
    const std::string outputPath = absolutePath(options.outputPath);
    if (!enterDataFolder(argv[0]))
        return 1;
    const bool moving = options.mode == CaptureMode::Video || options.mode == CaptureMode::Frames;
    MovingCapture capture;
    PreparedCapture prepared;
    if (moving && !prepareMoving(options, outputPath, capture, prepared))
        return 1;

    // Stage 2: the show's start-up, at the frame size, played at the chosen rate.
    int exitStatus = 0;
    Show* show = startHeadlessShow(options.width, options.height, exitStatus);
    if (!show) {
        std::fputs("capture: the show did not start (see above)\n", stderr);
        return exitStatus != 0 ? exitStatus : 1;
    }
    show->rate = options.rate;
    if (!fitsTheDriver(options.width, options.height))
        return 1;

    // Stage 3: the frames, each as the show plays it at that rate.
    switch (options.mode) {
    case CaptureMode::Filmstrip: return runFilmstrip(*show, outputPath, options.width, options.height);
    case CaptureMode::Video:
    case CaptureMode::Frames: return writeMoving(*show, capture, prepared, options.strict);
    case CaptureMode::Frame: return writeOneFrame(*show, options, outputPath);
    case CaptureMode::Sheet:
    case CaptureMode::Report: break;
    }
    return writeContactSheet(*show, options, outputPath);
}
