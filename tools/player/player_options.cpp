#include "player_options.h"

#include <cmath>
#include <cstdlib>

const char* const playerUsage = "usage: player [--time T] [--paused] [--size WxH] [--fullscreen]\n"
                                "keys: Space pause, Left/Right -/+1 s (Shift 10 s), , . one frame back/on (paused),\n"
                                "      Home start, 1-5 scene starts, R reload shaders, Escape quit\n";

namespace {

constexpr uint32_t smallestSide = 16;
constexpr uint32_t largestSide = 16384;

bool parseTime(const std::string& text, double& seconds)
{
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(seconds) && seconds >= 0.0;
}

bool parseSide(const std::string& text, uint32_t& side)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    side = uint32_t(std::strtoul(text.c_str(), nullptr, 10));
    return side >= smallestSide && side <= largestSide;
}

bool parseSize(const std::string& text, uint32_t& width, uint32_t& height)
{
    const size_t x = text.find('x');
    return x != std::string::npos && parseSide(text.substr(0, x), width) && parseSide(text.substr(x + 1), height);
}

}  // namespace

bool parsePlayerOptions(const std::vector<std::string>& arguments, PlayerOptions& options, std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--paused") {
            options.paused = true;
            continue;
        }
        if (name == "--fullscreen") {
            options.fullscreen = true;
            continue;
        }
        if (name != "--time" && name != "--size") {
            error = "unknown option " + name;
            return false;
        }
        if (i + 1 == arguments.size()) {
            error = name + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (name == "--time" && !parseTime(value, options.startTime)) {
            error = "--time takes seconds from 0 on, not " + value;
            return false;
        }
        if (name == "--size" && !parseSize(value, options.width, options.height)) {
            error = "--size takes WIDTHxHEIGHT, each 16 to 16384, not " + value;
            return false;
        }
    }
    return true;
}
