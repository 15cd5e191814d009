#pragma once
// Extras of the web backend, for the page's entry point (app/main_web.cpp).
#include <cstdint>

// The size createGLWindow gives the canvas instead of the screen's, for a still moment.
void setWebScreenSize(uint32_t width, uint32_t height);

// Waits, letting the page run, until the start screen is clicked (the click has already asked
// for full screen and for sound); shows the start screen first.
void waitForStartClick();

// Brings the closed "window" back (the canvas hidden behind the start screen) for another run.
void reopenWebWindow();

void setPageTitle(const char* title);
