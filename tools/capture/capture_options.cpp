#include "capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* const captureUsage =
    "usage: capture --time T --out frame.png [--size WxH] [--fps F]\n"
    "       capture --sheet sheet.png [--size WxH] [--fps F]\n"
    "       capture --filmstrip strip.png [--size WxH] [--fps F]\n"
    "       capture --out show.mp4 [--size WxH] [--fps F] [--crf N] [--from T0] [--to T1] [--strict]\n"
    "       capture --frames DIR [--size WxH] [--fps F] [--from T0] [--to T1]\n"
    "       capture --report video.mp4 [--strict]\n"
    "  T, T0, T1 in seconds of demo time (0 to 140); WxH the frame size (16 to 8192 a side;\n"
    "  default 1280x720 for a frame, 480x270 for each frame of a sheet or filmstrip, 1920x1080\n"
    "  for a video or frames); F the rate the show is played at, an integer or a fraction\n"
    "  such as 60000/1001 (default 60). A video has the soundtrack and runs from T0 (default\n"
    "  0) to the frame on which the show closes itself, or to the last frame before T1; ffmpeg\n"
    "  encodes it as the file name's extension asks (.mp4: H.264 and AAC). N: the encoder's\n"
    "  constant rate factor (0 to 63, lower is better; default the encoder's own). A filmstrip\n"
    "  shows the show at one frame a second, a row per scene, over a plot of each frame's mean\n"
    "  brightness and local contrast, and prints those figures. A frame, a video or frames\n"
    "  take --subframes N [--shutter S]: each frame the mean in linear light of N frames\n"
    "  (1 to 64) across the open shutter, S the share of the frame interval it is open (above\n"
    "  0, at most 1; default 0.5). A video ends with a report for publishing it (frames,\n"
    "  loudness, flashes, a stream's requirements), which --report prints for any video;\n"
    "  --strict makes a line that fails an exit status 1.\n";

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

namespace {

// Which options the command line gave, for the checks that look at several together.
struct OptionsGiven {
    bool time = false, out = false, sheet = false, filmstrip = false, frames = false;
    bool range = false, crf = false, report = false, subframes = false, shutter = false;
};

// --subframes and --shutter into `options`. False with the reason in `error`.
bool takeStackingOption(const std::string& name, const std::string& value, CaptureOptions& options, OptionsGiven& given,
                        std::string& error)
{
    if (name == "--subframes") {
        uint64_t subframes = 0;
        if (!parseWhole(value, 1, 64, subframes)) {
            error = "--subframes takes a whole number from 1 to 64, not \"" + value + "\"";
            return false;
        }
        options.subframes = int(subframes);
        given.subframes = true;
        return true;
    }
    char* end = nullptr;
    const double open = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(open > 0.0 && open <= 1.0)) {
        error = "--shutter takes a share of the frame interval above 0 and at most 1, not \"" + value + "\"";
        return false;
    }
    options.shutter = open;
    given.shutter = true;
    return true;
}

// Takes one option and its value into `options`. False with the reason in `error`.
bool takeOption(const std::string& name, const std::string& value, CaptureOptions& options, OptionsGiven& given,
                std::string& error)
{
    if (name == "--time") {
        if (!parseSeconds(value, options.time)) {
            error = "--time takes seconds from 0 to 140, not \"" + value + "\"";
            return false;
        }
        given.time = true;
    } else if (name == "--from" || name == "--to") {
        if (!parseSeconds(value, name == "--from" ? options.from : options.to)) {
            error = name + " takes seconds from 0 to 140, not \"" + value + "\"";
            return false;
        }
        given.range = true;
    } else if (name == "--out" || name == "--sheet" || name == "--filmstrip" || name == "--frames") {
        options.outputPath = value;
        given.out = given.out || name == "--out";
        given.sheet = given.sheet || name == "--sheet";
        given.filmstrip = given.filmstrip || name == "--filmstrip";
        given.frames = given.frames || name == "--frames";
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
    } else if (name == "--report") {
        options.reportPath = value;
        given.report = true;
    } else if (name == "--subframes" || name == "--shutter") {
        return takeStackingOption(name, value, options, given, error);
    } else if (name == "--crf") {
        uint64_t crf = 0;
        if (!parseWhole(value, 0, 63, crf)) {
            error = "--crf takes a whole number from 0 to 63, not \"" + value + "\"";
            return false;
        }
        options.crf = int(crf);
        given.crf = true;
    } else {
        error = "unknown option " + name;
        return false;
    }
    return true;
}

// The mode follows from the output option: --out is a frame with --time or a .png, else a video.
CaptureMode modeFor(const CaptureOptions& options, const OptionsGiven& given)
{
    if (given.report)
        return CaptureMode::Report;
    if (given.sheet)
        return CaptureMode::Sheet;
    if (given.filmstrip)
        return CaptureMode::Filmstrip;
    if (given.frames)
        return CaptureMode::Frames;
    if (given.time || endsWith(options.outputPath, ".png"))
        return CaptureMode::Frame;
    return CaptureMode::Video;
}

// Refuses options that the chosen mode does not take. False with the reason in `error`.
bool optionsFitMode(const CaptureOptions& options, const OptionsGiven& given, std::string& error)
{
    const bool moving = options.mode == CaptureMode::Video || options.mode == CaptureMode::Frames;
    if (options.mode == CaptureMode::Frame && !given.time)
        error = "--out with a .png needs --time";
    else if (given.time && options.mode != CaptureMode::Frame)
        error = "--time is for one frame: give it with --out frame.png";
    else if (given.range && !moving)
        error = "--from and --to are for a video or --frames";
    else if (given.crf && options.mode != CaptureMode::Video)
        error = "--crf is for a video";
    else if ((given.subframes || given.shutter) && !moving && options.mode != CaptureMode::Frame)
        error = "--subframes and --shutter are for a frame, a video or --frames";
    else if (given.shutter && !given.subframes)
        error = "--shutter needs --subframes";
    else if (options.strict && options.mode != CaptureMode::Video && options.mode != CaptureMode::Report)
        error = "--strict is for a video or --report";
    else if (moving && options.from >= options.to)
        error = "--from must come before --to";
    else
        return true;
    return false;
}

}  // namespace

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error)
{
    OptionsGiven given;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--strict") {
            options.strict = true;
            continue;
        }
        if (i + 1 == arguments.size()) {
            error = name + " needs a value";
            return false;
        }
        if (!takeOption(name, arguments[++i], options, given, error))
            return false;
    }

    if (int(given.out) + int(given.sheet) + int(given.filmstrip) + int(given.frames) + int(given.report) != 1) {
        error = "give one of --out, --sheet, --filmstrip, --frames or --report";
        return false;
    }
    if (given.report) {
        options.mode = CaptureMode::Report;
        if (options.reportPath.empty())
            error = "the video to report on is not named";
        else if (given.time || given.range || given.crf || given.subframes || given.shutter || options.width != 0)
            error = "--report takes only --strict";
        return error.empty();
    }
    if (options.outputPath.empty()) {
        error = "the output path is empty";
        return false;
    }
    options.mode = modeFor(options, given);
    if (!optionsFitMode(options, given, error))
        return false;
    if (options.width == 0) {
        // Each mode's default size: a video at full HD, a sheet's or filmstrip's tiles small.
        const bool moving = options.mode == CaptureMode::Video || options.mode == CaptureMode::Frames;
        const bool tiled = given.sheet || given.filmstrip;
        options.width = moving ? 1920 : tiled ? 480 : 1280;
        options.height = moving ? 1080 : tiled ? 270 : 720;
    }
    return true;
}
