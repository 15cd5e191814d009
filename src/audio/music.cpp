#include "audio/music.h"

#include "audio/music_stream.h"
#include "audio/wave_out.h"

#include <atomic>

namespace {

// Written by musicLoad before the feeder starts; from then on the feeder uses the decoder and
// writes the ring (only the half the device is not playing), and a seek does both while it
// holds the stream.
MusicStream music;
FeederState feederState;
bool feederRunning = false;
uint32_t seekFrame = 0;  // main thread only

// Who holds the stream: the feeder for one poll, a seek for its whole rewrite. Neither holds it
// for longer than two decodes of half the ring. A spin on an atomic rather than a mutex: the
// Windows toolchain's thread model has none, and the show, which never seeks, has its feeder
// find the stream free every time. Acquire and release order the decoder, the ring and the
// feeder's state between the two threads.
std::atomic<bool> streamHeld{false};

bool tryHoldStream()
{
    return !streamHeld.exchange(true, std::memory_order_acquire);
}

void releaseStream()
{
    streamHeld.store(false, std::memory_order_release);
}

}

uint32_t musicFeederThread(void*)
{
    for (;;) {
        // Held by a seek: it rewrites everything this poll would, so skip to the next one.
        if (tryHoldStream()) {
            const FeederPoll poll = pollFeeder(music, feederState, waveOutPosition());
            // Whatever the poll rewrote must reach the device before it plays that half again.
            publishBufferWrites();
            if (poll == FeederPoll::TrackEnded) {
                breakWaveOutLoop();
                closeMusicDecoder(music);
                feederRunning = false;
                releaseStream();
                return 0;
            }
            releaseStream();
        }
        sleepMilliseconds(feederSleepMilliseconds(music.sampleRate));
    }
}

bool musicLoad(const char* path)
{
    if (!openMusicStream(music, path))
        return false;

    // Without a device every call below but the thread's start does nothing, and the show runs
    // silent: the position never moves, so the feeder fills half 1 once and then only polls.
    openWaveOut(music.sampleRate);
    pauseWaveOut();
    queueLoopingBuffer(music.ring, ringBytes);
    feederRunning = true;
    return startAudioThread(musicFeederThread);
}

void musicStart()
{
    restartWaveOut();
}

void musicSeek(uint32_t frame, bool play)
{
    if (!music.ring)
        return;  // nothing loaded
    while (!tryHoldStream())
        sleepMilliseconds(1);
    // Held, the device reads nothing, so the whole ring may be rewritten.
    pauseWaveOut();
    seekMusicStream(music, frame);
    queueLoopingBuffer(music.ring, ringBytes);
    publishBufferWrites();
    // The device starts over in half 0 with both halves full: the feeder's next refill is of
    // half 0, once the device has moved into half 1.
    feederState.lastHalf = 0;
    seekFrame = frame;
    const bool startFeeder = !feederRunning;
    feederRunning = true;
    releaseStream();
    if (startFeeder)
        startAudioThread(musicFeederThread);
    if (play)
        restartWaveOut();
}

void musicPause()
{
    pauseWaveOut();
}

void musicResume()
{
    restartWaveOut();
}

uint64_t musicPosition()
{
    return uint64_t(seekFrame) + waveOutPosition();
}

uint32_t musicSampleRate()
{
    return music.sampleRate;
}
