#pragma once
// What the SDL2 backend (platform_sdl.cpp) offers beyond the platform contract, for a program
// that opens the show's window its own way: the player runs beside the show in an ordinary
// window of its own size, reads more keys than Escape and writes its messages to the terminal.
// The show itself sets none of this and gets the contract's full-screen window.
#include <cstdint>
#include <string>
#include <vector>

struct SdlWindowOptions {
    // Full screen at the desktop's size, as the show; otherwise a window of width x height.
    bool fullscreen = true;
    uint32_t width = 0;
    uint32_t height = 0;
    const char* title = "";
    // Take the single-instance lock, so that a second copy of the show ends at once.
    bool singleInstance = true;
    // Message boxes on the standard error stream instead, for a program run from a terminal.
    bool messagesOnStandardError = false;
    // An OpenGL debug context whose messages are written to the standard error stream.
    bool debugContext = false;
    // Queue the keys below for takeWindowKeys.
    bool queueKeys = false;
};

// Before createGLWindow.
void setSdlWindowOptions(const SdlWindowOptions& options);

enum class WindowKey { Space, Left, Right, Comma, Period, Home, R, Escape, Digit1, Digit2, Digit3, Digit4, Digit5 };

struct WindowKeyPress {
    WindowKey key;
    bool shift;
};

// The keys of WindowKey pressed since the last call, in order (queued by drainMessages and
// waitForWindowEvents when the options ask for it).
std::vector<WindowKeyPress> takeWindowKeys();

// Waits up to `milliseconds` for any event and takes it, for a program with nothing to redraw.
void waitForWindowEvents(uint32_t milliseconds);

void setWindowTitle(const std::string& title);

// Makes the executable's folder, where the show's data lies, the working folder. False after a
// message on the standard error stream when it cannot.
bool enterExecutableFolder();
