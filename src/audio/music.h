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

// For a player that steers the show's time; the show itself never calls these. Main thread
// only, after a successful musicLoad (before it, a seek does nothing). Without a device they keep the stream's place
// and the position stays at the last seek.

// Holds the device, moves the decoder to `frame` of the track (at musicSampleRate), refills the
// whole ring from there and queues it to play from its start; playback goes on when `play`. The
// feeder is started again if the track's end had stopped it.
void musicSeek(uint32_t frame, bool play);

// Holds and resumes playback where it is.
void musicPause();
void musicResume();

// The track's frame the device has reached: the last seek's frame plus every frame taken from
// the ring since. The device takes a buffer at a time, so this runs up to one device buffer
// ahead of what is heard.
uint64_t musicPosition();

// Frames per second of the loaded track.
uint32_t musicSampleRate();

// The feeder thread: keeps the half of the ring that the device has just left refilled until the
// track ends, then lets the device play out the ring once more. Ignores its argument; returns 0.
uint32_t musicFeederThread(void* unused);
