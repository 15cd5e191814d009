#pragma once
#include <cstdint>

// The soundtrack: streamed from an Ogg Vorbis file through the wave-out device.

// Reads and opens the file, prefills the ring, opens the device paused with the ring queued as
// an endless loop, and starts the feeder thread. False when the file cannot be read, holds no
// Ogg Vorbis stream, is in a format the show cannot play (see isPlayableMusicFormat), or the
// feeder cannot start. A missing device is no failure: the show then
// runs silent.
bool musicLoad(const char* path);

// Starts audible playback. Called once, right before the frame loop takes its first clock
// reading, after a successful musicLoad.
void musicStart();

// The feeder thread: keeps the half of the ring that the device has just left refilled until the
// track ends, then lets the device play out the ring once more. Ignores its argument; returns 0.
uint32_t musicFeederThread(void* unused);
