#pragma once
// The platform contract: everything the show asks of the operating system, and nothing else.
// One implementation per backend, each in a file of its own:
//   platform_win32.cpp  Win32 and WGL, the shipping target
//   platform_sdl.cpp    the Linux port, on SDL2
//   platform_egl.cpp    headless, through EGL, for the tests and the tools
// No code outside those files includes an OS or windowing header.
#include <cstdint>

// Single-instance check ("ovagl"), the hidden window, the OpenGL 3.3 core context with an
// sRGB-capable double-buffered default framebuffer (no depth, no stencil), every GL entry point,
// vertical sync on. Also reads the screen size. False on any failure, reported by no one.
bool createGLWindow();

// Makes the hidden window a borderless window covering the desktop at its own resolution and
// shows it; the window size becomes the screen size. The display mode never changes.
void enterFullscreen();

// Destroys the window. The quit that follows is taken by the next drainMessages.
void closeWindow();

void hideCursor();

// Handles every pending window message; true once the quit message has been taken (the window
// was destroyed, by closeWindow or by the platform).
bool drainMessages();

// Presents the frame; waits for the display refresh where vertical sync is honoured. Returns
// the platform's result of the swap.
int swapBuffers();

// Escape is held now or was pressed since the last call.
bool escapePressed();

// The high-resolution clock: counts and counts per second.
int64_t performanceCounter();
int64_t performanceFrequency();

// A message box with the platform's default caption and one OK button; returns when dismissed.
void showMessageBox(const char* text);
