#include "capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* const captureUsage =
    "usage: capture --time T --out frame.png [--size WxH] [--fps F]\n"
    "       capture --sheet sheet.png [--size WxH] [--fps F]\n"
    "       capture --filmstrip strip.png [--size WxH] [--fps F]\n"
    "       capture --out show.mp4 [--size WxH] [--fps F] [--crf N] [--from T0] [--to T1]\n"
    "       capture --frames DIR [--size WxH] [--fps F] [--from T0] [--to T1]\n"
    "  T, T0, T1 in seconds of demo time (0 to 140); WxH the frame size (16 to 8192 a side;\n"
    "  default 1280x720 for a frame, 480x270 for each frame of a sheet or filmstrip, 1920x1080\n"
    "  for a video or frames); F the rate the show is played at, an integer or a fraction\n"
    "  such as 60000/1001 (default 60). A video has the soundtrack and runs from T0 (default\n"
    "  0) to the frame on which the show closes itself, or to the last frame before T1; ffmpeg\n"
    "  encodes it as the file name's extension asks (.mp4: H.264 and AAC). N: the encoder's\n"
    "  constant rate factor (0 to 63, lower is better; default the encoder's own). A filmstrip\n"
    "  shows the show at one frame a second, a row per scene, over a plot of each frame's mean\n"
    "  brightness and local contrast, and prints those figures.\n";

namespace {

bool parseWhole(const std::string& text, uint64_t low, uint64_t high, uint64_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 10)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

bool parseSeconds(const std::string& text, double& seconds)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0.0 || value > 140.0)
        return false;
    seconds = value;
    return true;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool parseFrameSize(const std::string& text, uint32_t& width, uint32_t& height)
{
    const size_t x = text.find('x');
    uint64_t w = 0, h = 0;
    if (x == std::string::npos || !parseWhole(text.substr(0, x), 16, 8192, w) ||
        !parseWhole(text.substr(x + 1), 16, 8192, h))
        return false;
    width = uint32_t(w);
    height = uint32_t(h);
    return true;
}

bool parseFrameRate(const std::string& text, FrameRate& rate)
{
    const size_t slash = text.find('/');
    uint64_t numerator = 0, denominator = 1;
    if (!parseWhole(text.substr(0, slash), 1, 1000000, numerator))
        return false;
    if (slash != std::string::npos && !parseWhole(text.substr(slash + 1), 1, 1000000, denominator))
        return false;
    if (numerator > denominator * 1000)
        return false;
    rate.numerator = uint32_t(numerator);
    rate.denominator = uint32_t(denominator);
    return true;
}

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error)
{
    bool haveTime = false, haveOut = false, haveSheet = false, haveFilmstrip = false, haveFrames = false;
    bool haveRange = false, haveCrf = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (i + 1 == arguments.size()) {
            error = name + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (name == "--time") {
            if (!parseSeconds(value, options.time)) {
                error = "--time takes seconds from 0 to 140, not \"" + value + "\"";
                return false;
            }
            haveTime = true;
        } else if (name == "--from" || name == "--to") {
            if (!parseSeconds(value, name == "--from" ? options.from : options.to)) {
                error = name + " takes seconds from 0 to 140, not \"" + value + "\"";
                return false;
            }
            haveRange = true;
        } else if (name == "--out" || name == "--sheet" || name == "--filmstrip" || name == "--frames") {
            options.outputPath = value;
            haveOut = haveOut || name == "--out";
            haveSheet = haveSheet || name == "--sheet";
            haveFilmstrip = haveFilmstrip || name == "--filmstrip";
            haveFrames = haveFrames || name == "--frames";
        } else if (name == "--size") {
            if (!parseFrameSize(value, options.width, options.height)) {
                error = "--size takes WxH with sides from 16 to 8192, not \"" + value + "\"";
                return false;
            }
        } else if (name == "--fps") {
            if (!parseFrameRate(value, options.rate)) {
                error = "--fps takes a positive rate such as 60 or 60000/1001, not \"" + value + "\"";
                return false;
            }
        } else if (name == "--crf") {
            uint64_t crf = 0;
            if (!parseWhole(value, 0, 63, crf)) {
                error = "--crf takes a whole number from 0 to 63, not \"" + value + "\"";
                return false;
            }
            options.crf = int(crf);
            haveCrf = true;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }

    if (int(haveOut) + int(haveSheet) + int(haveFilmstrip) + int(haveFrames) != 1) {
        error = "give one of --out, --sheet, --filmstrip or --frames";
        return false;
    }
    if (options.outputPath.empty()) {
        error = "the output path is empty";
        return false;
    }
    if (haveSheet)
        options.mode = CaptureMode::Sheet;
    else if (haveFilmstrip)
        options.mode = CaptureMode::Filmstrip;
    else if (haveFrames)
        options.mode = CaptureMode::Frames;
    else if (haveTime || endsWith(options.outputPath, ".png"))
        options.mode = CaptureMode::Frame;
    else
        options.mode = CaptureMode::Video;

    const bool moving = options.mode == CaptureMode::Video || options.mode == CaptureMode::Frames;
    if (options.mode == CaptureMode::Frame && !haveTime) {
        error = "--out with a .png needs --time";
        return false;
    }
    if (haveTime && options.mode != CaptureMode::Frame) {
        error = "--time is for one frame: give it with --out frame.png";
        return false;
    }
    if (haveRange && !moving) {
        error = "--from and --to are for a video or --frames";
        return false;
    }
    if (haveCrf && options.mode != CaptureMode::Video) {
        error = "--crf is for a video";
        return false;
    }
    if (moving && options.from >= options.to) {
        error = "--from must come before --to";
        return false;
    }
    if (options.width == 0) {
        const bool tiled = haveSheet || haveFilmstrip;
        options.width = moving ? 1920 : tiled ? 480 : 1280;
        options.height = moving ? 1080 : tiled ? 270 : 720;
    }
    return true;
}
