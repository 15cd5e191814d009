#pragma once
// The player's own backend of the platform contract (platform/platform.h), on SDL2: a normal
// window of a chosen size instead of the show's full-screen one, every key the player uses
// instead of Escape alone, and a title that says where the show is. These are its extras.
#include "player_session.h"

#include <cstdint>
#include <string>
#include <vector>

// Set before createGLWindow. The render targets are made at the screen size, so the "screen"
// is the window's size, or the desktop's when `fullscreen`.
void setPlayerWindowSize(uint32_t width, uint32_t height, bool fullscreen);

// The keys pressed since the last call, in order (taken by drainMessages).
std::vector<KeyPress> takeKeyPresses();

// Waits up to `milliseconds` for any event, for a paused player with nothing to redraw.
void waitForPlayerEvents(uint32_t milliseconds);

void setPlayerWindowTitle(const std::string& title);

// Makes the executable's folder, where the show's data lies, the working folder. False after a
// message when it cannot.
bool enterExecutableFolder();
