#pragma once

// Called after each start-up step with its name, for measuring start-up.
using StartupStepDone = void (*)(const char* step);

// Start-up up to the full-screen switch: single instance, window and context, the seed, the
// textures, shaders, renderer, models, screen triangle, music (its feeder running, the device
// paused), tunnel, ground plane, placed model, particle field, and the camera and lights
// configured. False when a step failed, after that step's one-line report; `exitStatus` is then
// the process's exit status: 0 only for a second copy, which ends silently, 1 for every
// failure. Objects created so far are left as they are.
bool startShow(int& exitStatus, StartupStepDone stepDone = nullptr);

// The whole show: start-up, full screen, hidden cursor, the music, then the frame loop until
// the window closes. Returns the process exit status. The entry point of each platform calls
// it and nothing else.
int runShow();
