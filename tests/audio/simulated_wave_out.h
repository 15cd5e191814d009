#pragma once
// A simulated wave-out device that stands in for the platform backend (it implements
// audio/wave_out.h), so the music's own thread runs for real but without real time: each of the
// feeder's sleeps plays exactly as many frames as the sleep lasts, from the queued buffer, into
// a record of what was heard. Time stands still before the restart: a sleep of the feeder on
// the opened, paused device lasts until the test restarts it. The device keeps winmm's rules:
// nothing plays before the restart, the buffer loops until the loop is broken, then plays to the
// end of that pass and stops. It hears the buffer as it was at the last publishBufferWrites (or
// the queue), so a feeder that rewrites a half without publishing it plays stale samples.
#include <cstdint>
#include <string>
#include <vector>

struct SimulatedDeviceRecord {
    std::vector<std::string> calls;  // "open 44100", "pause", "queue 262144", "restart", "break"
    std::vector<uint32_t> sleeps;    // each sleep of the feeder, in ms
    std::vector<float> heard;        // every frame played, interleaved stereo
    uint32_t position = 0;           // frames played, counting loops
    bool stopped = false;            // played to the end of the pass after the loop broke
    bool feederReturned = false;
    uint32_t feederResult = 0;
    uint32_t publishes = 0;             // calls of publishBufferWrites
    const float* queuedRing = nullptr;  // passed to queueLoopingBuffer, device or not
};

// Makes the next openWaveOut fail, as on a machine without a device.
void simulateNoDevice();

// A feeder that sleeps `sleepLimit` times (100000 unless set) is held in its last sleep for
// good, so it can't touch the music state again while the test reads it. Set before musicLoad.
void limitFeederSleeps(uint32_t sleepLimit);

// Waits until the feeder thread has returned (true) or reached its sleep limit (false).
bool waitForFeeder();

// Lets the device play on, as the hardware would once the feeder is gone, until it stops (at
// most `maxFrames` frames).
void playOutDevice(uint32_t maxFrames);

SimulatedDeviceRecord simulatedDeviceRecord();
