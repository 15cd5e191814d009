#pragma once
// The show on the headless platform: started by its own start-up at a chosen frame size, then
// drawn at demo times the caller chooses instead of the clock's, each frame as the show played
// from the start at the show's rate shows it, whatever was drawn before. One per process.
#include <cstdint>
#include <vector>

struct Show;

// Start-up as the show runs it (same steps, same seed), then the full-screen switch; the music
// is loaded but never started. Null after start-up's own report, with the status the show
// would have exited with.
Show* startHeadlessShow(uint32_t width, uint32_t height, int& exitStatus);

// Draws and presents the frame at t without reading it back. True when the show closed itself
// in this frame.
bool presentShowFrame(Show& show, double t);

// The frame at t as the display would show it: RGBA8, top row first. `last`, where given,
// becomes true when the show closed itself in this frame.
std::vector<uint8_t> captureShowFrame(Show& show, double t, bool* last = nullptr);
