#pragma once
// The platform's wave-out device, as the music drives it: one device, two channels of 32-bit
// float at the stream's rate, playing one buffer in an endless loop. One implementation per
// backend, each in a file of its own:
//   wave_out_win32.cpp  winmm, the shipping target
//   wave_out_sdl.cpp    the Linux port, on SDL2 audio
//
// Threads: the main thread opens, pauses and queues before the feeder thread starts, and later
// only restarts; the feeder thread alone reads the position, publishes its writes to the buffer
// and breaks the loop. A player's seek (audio/music.h) is the exception: it pauses, queues again
// and publishes from the main thread while it holds the stream, so the feeder is not polling.
// Every operation
// but openWaveOut does nothing when no device could be opened; the position then stays at 0, so
// the show runs silent.
#include <cstdint>

// Opens the first output device, paused, for interleaved stereo float frames (left first) at
// sampleRate frames per second. False when there is no such device.
bool openWaveOut(uint32_t sampleRate);

// Holds playback; nothing is played, and the position does not move, until restartWaveOut.
void pauseWaveOut();

// Queues `bytes` bytes of interleaved stereo floats to be played over and over, from the start,
// until breakWaveOutLoop. The device reads the samples in place for as long as it plays: they
// must stay allocated, and only the part the device is not playing may be rewritten. Queued
// again while paused, the device starts over: the buffer plays from its start, the loop is
// whole again, and the position counts from 0.
void queueLoopingBuffer(const float* samples, uint32_t bytes);

// Publishes every write this thread has made to the queued buffer so far: the device's reads of
// the buffer that start after this call see them. Writes the device reaches before the call
// are a fault of the writer's timing, not something this can order. The feeder calls it right
// after each poll, a quarter of the ring's playing time before the device can return to the
// half it rewrote.
void publishBufferWrites();

// Starts (or resumes) playback.
void restartWaveOut();

// Frames played since the device was opened, counting every pass through the looping buffer;
// wraps at 2^32 like the platform's own counter.
uint32_t waveOutPosition();

// Lets the looping buffer play on to the end of the current pass; then the device stops and
// the position stays where it is.
void breakWaveOutLoop();

// Runs proc(nullptr) on a new thread that nobody waits for. False when no thread could be made.
using AudioThreadProc = uint32_t (*)(void*);
bool startAudioThread(AudioThreadProc proc);

void sleepMilliseconds(uint32_t milliseconds);
