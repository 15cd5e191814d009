#include "capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* const captureUsage =
    "usage: capture --time T --out frame.png [--size WxH] [--fps F]\n"
    "       capture --sheet sheet.png [--size WxH] [--fps F]\n"
    "  T in seconds of demo time (0 to 140); WxH the frame size (16 to 8192 a side; default\n"
    "  1280x720 for a frame, 480x270 for each frame of a sheet); F the rate the show is played\n"
    "  at, an integer or a fraction such as 60000/1001 (default 60)\n";

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

} // namespace

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
    bool haveTime = false, haveOut = false, haveSheet = false;
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
        } else if (name == "--out") {
            options.outputPath = value;
            haveOut = true;
        } else if (name == "--sheet") {
            options.outputPath = value;
            haveSheet = true;
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
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (haveSheet == (haveTime || haveOut)) {
        error = "give either --time and --out, or --sheet";
        return false;
    }
    if (!haveSheet && !(haveTime && haveOut)) {
        error = haveTime ? "--time needs --out" : "--out needs --time";
        return false;
    }
    if (options.outputPath.empty()) {
        error = "the output path is empty";
        return false;
    }
    options.mode = haveSheet ? CaptureMode::Sheet : CaptureMode::Frame;
    if (options.width == 0) {
        options.width = haveSheet ? 480 : 1280;
        options.height = haveSheet ? 270 : 720;
    }
    return true;
}
