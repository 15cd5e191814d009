#include "audio/music.h"

#include "audio/music_stream.h"
#include "audio/wave_out.h"

namespace {

// Written by musicLoad before the feeder starts; from then on the feeder alone uses the decoder
// and writes the ring (only the half the device is not playing).
MusicStream music;

}

uint32_t musicFeederThread(void*)
{
    FeederState state;
    for (;;) {
        const FeederPoll poll = pollFeeder(music, state, waveOutPosition());
        // Whatever the poll rewrote must reach the device before it plays that half again.
        publishBufferWrites();
        if (poll == FeederPoll::TrackEnded)
            break;
        sleepMilliseconds(feederSleepMilliseconds(music.sampleRate));
    }
    breakWaveOutLoop();
    closeMusicDecoder(music);
    return 0;
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
    return startAudioThread(musicFeederThread);
}

void musicStart()
{
    restartWaveOut();
}
