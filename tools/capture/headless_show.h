#pragma once
// The show on the headless platform: started by its own start-up at a chosen frame size, then
// drawn at demo times the caller chooses instead of the clock's. One per process: start-up
// makes the show's single instances.
#include "show/frame_rate.h"

#include <cstdint>
#include <vector>

// Start-up as the show runs it (same steps, same seed), then the full-screen switch; the music
// is loaded but never started. False after start-up's own report, with the status the show
// would have exited with.
bool startHeadlessShow(uint32_t width, uint32_t height, int& exitStatus);

// One frame of the show at demo time t, as the display would show it: RGBA8, top row first.
// `last` becomes true when the show closed itself in this frame.
std::vector<uint8_t> drawShowFrame(double t, bool& last);

// The frame at t as the show plays it at `rate` from the start, whatever was drawn before:
// the state earlier scenes hand on is put back first.
std::vector<uint8_t> drawShowFrameAlone(double t, const FrameRate& rate);

// For a run of frames drawn in order: puts back the state the frames before t hand on, as
// drawShowFrameAlone does, without drawing.
void replayShowStateFor(double t, const FrameRate& rate);

// Draws and presents the frame at t without reading it back. True when the show closed itself
// in this frame.
bool drawShowFrameOnly(double t);
