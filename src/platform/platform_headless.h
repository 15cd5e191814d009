#pragma once
// Extras of the headless (EGL) backend, for tests and tools. Its "screen" is an off-screen
// sRGB-capable colour surface of the size given here, standing in for the window; it starts
// hidden at 0 by 0 like a real window and takes the screen size at enterFullscreen.
#include <cstdint>
#include <vector>

// The size createGLWindow gives the stand-in screen (default 640 by 360).
void setHeadlessScreenSize(uint32_t width, uint32_t height);

// Makes escapePressed report true from the next call on (as if the key were held).
void setHeadlessEscapeHeld(bool held);

// Reads the last presented frame of the default framebuffer: RGBA8, top row first, as the
// display would show it (sRGB-encoded).
std::vector<uint8_t> readPresentedFrame(uint32_t& width, uint32_t& height);

// Brings a closed stand-in window back (hidden, as created), so one test program can run the
// frame loop more than once.
void reopenHeadlessWindow();

// True once the stand-in window has been closed (by closeWindow), before the drain that takes
// the quit: the frame just drawn was the show's last.
bool headlessWindowClosed();

// Number of buffer swaps so far.
int headlessSwapCount();
