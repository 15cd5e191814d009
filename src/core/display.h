#pragma once
#include <cstdint>

// The screen size (the desktop resolution, read once when the window is created; the render
// targets are made at this size) and the window size (the drawing area: 0 by 0 while the window
// is hidden, the screen size once it is full screen). In pixels.
uint32_t screenWidth();
uint32_t screenHeight();
uint32_t windowWidth();
uint32_t windowHeight();

// Written only by the platform layer.
void setScreenSize(uint32_t width, uint32_t height);
void setWindowSize(uint32_t width, uint32_t height);
