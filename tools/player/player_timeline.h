#pragma once
// What the player needs to know of the show's running order, read from the timeline itself so
// that a retimed scene moves the player's keys with it: where each scene starts, where the show
// ends, and how to name a moment for the window title.
#include "show/timeline.h"

#include <array>
#include <string>

constexpr int playerSceneCount = sceneCount;

// The first 60 fps frame time of each scene, in running order (keys 1 to 5).
std::array<double, playerSceneCount> sceneStartTimes();

// The first 60 fps frame time on which the show closes itself: the player stops there.
double showEndTime();

// "t 93.417 s | carousel 13.417 s | 59.8 fps | paused": demo time, the scene and the time its
// function is given, frames per second.
std::string playerTitle(double t, double framesPerSecond, bool paused);
