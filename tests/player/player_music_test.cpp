// The music following the player: the stream refilled from any frame, and the device's position
// against the player's demo time through seeks, pauses and resumes, on the SDL backend with
// SDL's dummy driver (a real audio thread at a sound card's pace, nothing heard). Each case runs
// in a process of its own, as the music is one per process.
#include "player_session.h"

#include "audio/music.h"
#include "audio/music_stream.h"
#include "audio/ogg_test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// SDL's device buffer in frames (wave_out_sdl.cpp): the device takes this much at a time, so
// its position runs up to this far ahead of what is heard.
constexpr int64_t deviceBuffer = 2048;

// The dummy driver is no sound card: it sleeps a whole number of milliseconds per buffer (46 for
// 46.44 at 44,100 Hz), so it plays about 1% fast. A real card's clock differs from the system's
// by parts per million. Allowed on top of the buffer, in frames per frame played.
constexpr double dummyPaceError = 0.011;
// And 10 ms for reading the clock and the position at not quite the same moment on a busy
// machine, with the audio thread waking late or early.
constexpr double readingSlackSeconds = 0.010;

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The music's position less the demo time's frame, in frames.
int64_t lead(double t)
{
    return int64_t(musicPosition()) - int64_t(std::llround(t * musicSampleRate()));
}

// One device buffer, plus the dummy driver's pace error over the time it has been playing.
int64_t tolerance(int64_t playingSinceNs)
{
    const double seconds = double(nowNs() - playingSinceNs) * 1e-9;
    return deviceBuffer + int64_t((dummyPaceError * seconds + readingSlackSeconds) * musicSampleRate());
}

void expectRingFrom(const MusicStream& stream, const std::vector<float>& reference, size_t firstFrame)
{
    for (size_t i = 0; i < size_t(ringFrames) * 2; ++i) {
        const size_t source = firstFrame * 2 + i;
        const float expected = source < reference.size() ? reference[source] : 0.0f;
        ASSERT_NEAR(stream.ring[i], expected, 1e-6f) << "ring frame " << i / 2 << " for track frame " << firstFrame;
    }
}

}

TEST(MusicSeek, RefillsTheWholeRingFromTheFrameAskedFor)
{
    const std::string path = testFilePath("seek.ogg");
    const uint32_t frames = 3 * 44100;
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(frames, 2, 44100), 2, 44100));
    const std::vector<float> reference = decodeOggVorbis(path, 2);
    MusicStream stream;
    ASSERT_TRUE(openMusicStream(stream, path.c_str()));

    seekMusicStream(stream, 50000);
    expectRingFrom(stream, reference, 50000);
    // Near the end: the rest of the track, then exact silence.
    seekMusicStream(stream, frames - 1000);
    expectRingFrom(stream, reference, frames - 1000);
    // Past the end: silence, and the decoder is put away.
    seekMusicStream(stream, frames + 5);
    expectRingFrom(stream, reference, frames + 5);
    EXPECT_EQ(stream.decoder, nullptr);
    // Back from there, and back after the track's end closed the decoder as the feeder does.
    seekMusicStream(stream, 1234);
    expectRingFrom(stream, reference, 1234);
    closeMusicDecoder(stream);
    seekMusicStream(stream, 0);
    expectRingFrom(stream, reference, 0);

    freeMusicStream(stream);
    std::remove(path.c_str());
}

// On a track of its own, four seconds long, so the end of the track is reached too.
TEST(PlayerMusic, StaysWithinOneBufferOfDemoTimeThroughSeeksPausesAndResumes)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string path = testFilePath("player.ogg");
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(4 * 44100, 2, 44100), 2, 44100));
    ASSERT_TRUE(musicLoad(path.c_str()));
    PlayerSession session(1.0, true, 1000000000, nowNs);
    session.startMusic();

    // Paused: exactly at the start time, and it stays there.
    EXPECT_EQ(lead(session.frameTime()), 0);
    sleepMs(150);
    EXPECT_EQ(lead(session.frameTime()), 0) << "a paused player's music holds";
    session.press(KeyPress{PlayerKey::Right});
    EXPECT_EQ(lead(session.frameTime()), 0) << "a seek while paused";

    // Resumed: the device takes its first buffer at once, then keeps pace with the clock.
    int64_t playingSince = nowNs();
    session.press(KeyPress{PlayerKey::Space});
    for (int i = 0; i < 4; ++i) {
        sleepMs(100);
        EXPECT_LE(std::abs(lead(session.frameTime())), tolerance(playingSince))
            << "playing, " << (i + 1) * 100 << " ms after the resume";
    }

    // Paused while playing: the position stops where the device was, within a buffer.
    session.press(KeyPress{PlayerKey::Space});
    EXPECT_LE(std::abs(lead(session.frameTime())), tolerance(playingSince));
    const uint64_t heldPosition = musicPosition();
    sleepMs(150);
    EXPECT_EQ(musicPosition(), heldPosition);

    // Resumed: the music starts again at the held time, not where the device had got to.
    session.press(KeyPress{PlayerKey::Space});
    EXPECT_LE(std::abs(lead(session.frameTime())), deviceBuffer);

    // A jump past the track's end: silence at the right place, and the feeder, which has seen
    // the end, stops and breaks the device's loop.
    playingSince = nowNs();
    session.press(KeyPress{PlayerKey::Scene, false, 4});
    sleepMs(100);
    EXPECT_LE(std::abs(lead(session.frameTime())), tolerance(playingSince));
    sleepMs(1500);

    // Back to the start: the feeder runs again and the loop is whole, so the music keeps pace
    // past the first pass through the ring (32768 frames, 0.74 s).
    playingSince = nowNs();
    session.press(KeyPress{PlayerKey::Home});
    for (int i = 0; i < 10; ++i) {
        sleepMs(100);
        EXPECT_LE(std::abs(lead(session.frameTime())), tolerance(playingSince))
            << "playing again, " << (i + 1) * 100 << " ms after the jump back";
    }
    session.press(KeyPress{PlayerKey::Space});
    std::remove(path.c_str());
}
