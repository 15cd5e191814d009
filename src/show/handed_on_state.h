#pragma once
// What the scenes hand on to each other. Played from the start, each frame finds:
//   - the camera focus the intro's last frame set (the flash scene sets none of its own), and
//     that last frame's time depends on the frame rate;
//   - the placed model holding the credits model, until the carousel swaps it;
//   - the ambient light's start-up grey, until the carousel tints it.
// Every other value a scene uses it sets itself each frame.
#include "show/frame_rate.h"

// Puts that state where playing the show at `rate` up to demo time t would have left it, so a
// frame drawn on its own is the frame the show plays. Needs the start-up objects.
void replayHandedOnState(double t, const FrameRate& rate);
