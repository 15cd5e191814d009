#pragma once
// The player's command line:
//   player [--time T] [--paused] [--size WxH] [--fullscreen]
#include <cstdint>
#include <string>
#include <vector>

struct PlayerOptions {
    double startTime = 0.0;  // demo seconds
    bool paused = false;
    uint32_t width = 1280;  // the window's drawing area and the render targets, in pixels
    uint32_t height = 720;
    bool fullscreen = false;  // cover the desktop at its own size instead
};

extern const char* const playerUsage;

// False with a one-line reason in `error` for an unknown option, a missing or malformed value,
// a negative or non-finite time, or a size outside 16x16 to 16384x16384.
bool parsePlayerOptions(const std::vector<std::string>& arguments, PlayerOptions& options, std::string& error);
