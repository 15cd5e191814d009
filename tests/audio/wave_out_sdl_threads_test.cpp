// The SDL2 backend's threads on SDL's dummy driver: a real audio thread calling the callback at
// the pace of a sound card, with nothing written anywhere. Its checks are of positions only; what
// these cases are for is ThreadSanitizer, which sees the callback's copies from the ring and the
// writes of whoever rewrites it, and fails the case when nothing orders one before the other.
#include "audio/music.h"
#include "audio/music_stream.h"
#include "audio/ogg_test_files.h"
#include "audio/wave_out.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The dummy driver, chosen before SDL's audio starts; each case runs in a process of its own.
struct DummyDevice {
    DummyDevice() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    ~DummyDevice() { SDL_QuitSubSystem(SDL_INIT_AUDIO); }
};

// Polls the position every millisecond until `done` holds for it, for at most `limitMs`.
template <typename Done> uint32_t waitForPosition(Done done, uint32_t limitMs)
{
    uint32_t position = waveOutPosition();
    for (uint32_t waited = 0; !done(position) && waited < limitMs; ++waited) {
        SDL_Delay(1);
        position = waveOutPosition();
    }
    return position;
}

// The position once it has moved and then stood still for 500 ms (ten of SDL's buffers), or
// after `limitMs`.
uint32_t waitUntilStopped(uint32_t limitMs)
{
    uint32_t position = waveOutPosition();
    uint32_t stillFor = 0;
    for (uint32_t waited = 0; (position == 0 || stillFor < 500) && waited < limitMs; waited += 50) {
        SDL_Delay(50);
        const uint32_t now = waveOutPosition();
        stillFor = now == position ? stillFor + 50 : 0;
        position = now;
    }
    return position;
}

}

TEST(WaveOutSdlThreads, AHalfRewrittenAndPublishedIsHandedToTheCallback)
{
    const DummyDevice dummy;
    // Halves of two of SDL's buffers each: a half left at a buffer's end comes back two buffers
    // (93 ms) later.
    const uint32_t halfFrames = 4096;
    const uint32_t frames = 2 * halfFrames;
    std::vector<float> ring(size_t(frames) * 2, 0.25f);
    ASSERT_TRUE(openWaveOut(44100)) << SDL_GetError();
    pauseWaveOut();
    queueLoopingBuffer(ring.data(), uint32_t(ring.size() * sizeof(float)));
    restartWaveOut();

    // A rewrite is telling when the device copied from half 0 before the test's next lock;
    // on a loaded machine the dummy driver's thread may lag, and a rewrite tells nothing.
    uint32_t lastPass = 0;  // pass 0 plays before anything is rewritten
    uint32_t telling = 0;
    for (uint32_t rewrite = 0; rewrite < 12 && telling < 3; ++rewrite) {
        // The device in half 1 of a pass after the last: it has copied half 0 for the last time
        // until the next pass.
        const uint32_t position =
            waitForPosition([&](uint32_t p) { return p / frames > lastPass && p % frames >= halfFrames; }, 5000);
        const uint32_t pass = position / frames;
        ASSERT_GT(pass, lastPass) << "the device plays on, rewrite " << rewrite;
        ASSERT_GE(position % frames, halfFrames);
        lastPass = pass;
        for (uint32_t i = 0; i < halfFrames * 2; ++i)
            ring[i] = float(rewrite + 1);
        publishBufferWrites();
        // No lock is taken until the device has copied from half 0 again: only the publication
        // orders these writes before those copies. Half 1's rest and a buffer of half 0 take
        // 140 ms at the card's pace.
        SDL_Delay(250);
        if (waveOutPosition() >= (pass + 1) * frames + 2048)
            ++telling;
    }
    EXPECT_GE(telling, 1u) << "the device never copied a rewritten half before the test looked";
    breakWaveOutLoop();
    EXPECT_EQ(waitUntilStopped(5000) % frames, 0u) << "it stops at the end of a pass";
}

TEST(WaveOutSdlThreads, MusicPlaysToItsEndThroughTheCallbackThread)
{
    const DummyDevice dummy;
    const std::string path = testFilePath("threads.ogg");
    // Its last frames are in half 0 on the third pass; the refill of half 1 after them finds the
    // track ended.
    const uint32_t frames = 4 * ringHalfFrames + 7000;
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(frames, 2, 44100), 2, 44100));
    ASSERT_TRUE(musicLoad(path.c_str()));
    musicStart();
    EXPECT_EQ(waitUntilStopped(20000), 3 * ringFrames) << "the track's three passes, then the device stops";
    std::remove(path.c_str());
}
