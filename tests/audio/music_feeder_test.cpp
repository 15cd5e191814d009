// The music end to end on a simulated device: musicLoad, the feeder thread and musicStart as the
// show calls them, with what the device heard compared to a reference decode of the file.
// The music state is one per process, as in the show, so each case loads once; ctest runs every
// case in a process of its own.
#include "audio/music.h"
#include "audio/music_stream.h"
#include "audio/ogg_test_files.h"
#include "simulated_wave_out.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t half = ringHalfFrames;

struct Played {
    std::vector<float> reference;  // the file decoded to stereo
    SimulatedDeviceRecord record;
};

// Makes the file, loads and starts the music, waits for the feeder to end and lets the device
// play out.
Played playTrack(const std::string& name, uint32_t frames, uint32_t channels = 2, uint32_t sampleRate = 44100)
{
    Played played;
    const std::string path = testFilePath(name + ".ogg");
    if (!writeOggVorbis(path, makeTestSignal(frames, channels, sampleRate), channels, sampleRate)) {
        ADD_FAILURE() << "could not make " << path;
        return played;
    }
    played.reference = decodeOggVorbis(path, 2);
    EXPECT_EQ(played.reference.size(), size_t(frames) * 2);
    if (!musicLoad(path.c_str())) {
        ADD_FAILURE() << "musicLoad refused " << path;
        return played;
    }
    musicStart();
    EXPECT_TRUE(waitForFeeder()) << "the feeder never ended";
    playOutDevice(2 * ringFrames);
    played.record = simulatedDeviceRecord();
    std::remove(path.c_str());
    return played;
}

void expectTrackThenSilenceThenStop(const Played& played)
{
    const std::vector<float>& heard = played.record.heard;
    const std::vector<float>& track = played.reference;
    ASSERT_FALSE(track.empty());
    EXPECT_TRUE(played.record.stopped) << "the device stops after the loop is broken";
    EXPECT_EQ(heard.size() % (2 * ringFrames), 0u) << "it stops at the end of a pass";
    ASSERT_GE(heard.size(), track.size()) << "every decoded frame is played";
    EXPECT_LE(heard.size() - track.size(), 2 * ringFrames) << "at most one pass of silence";
    for (size_t i = 0; i < track.size(); ++i)
        ASSERT_EQ(heard[i], track[i]) << "frame " << i / 2 << (i % 2 ? " right" : " left");
    EXPECT_TRUE(isSilentFrom(heard, track.size())) << "exact silence after the last frame";

    // A track that ends at the first poll may break the loop before the restart: the device
    // then plays one pass from the restart on.
    const auto& calls = played.record.calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "break"), 1);
    EXPECT_TRUE(played.record.feederReturned);
    EXPECT_EQ(played.record.feederResult, 0u);
}

}

TEST(MusicOnADevice, LoadsPausedThenQueuesThenStartsTheFeeder)
{
    const Played played = playTrack("order", 3 * half);
    const std::vector<std::string> expected = {"open 44100", "pause", "queue 262144", "restart", "break"};
    EXPECT_EQ(played.record.calls, expected);
    EXPECT_EQ(played.record.sleeps.front(), 185u);
}

TEST(MusicOnADevice, TrackEndingInARefillOfHalfOneIsHeardWhole)
{
    const Played played = playTrack("end-in-half-1", 3 * half + 5000);
    expectTrackThenSilenceThenStop(played);
    EXPECT_EQ(played.record.heard.size(), 2 * 2 * ringFrames) << "two passes";
}

TEST(MusicOnADevice, TrackEndingInARefillOfHalfZeroIsHeardWhole)
{
    const Played played = playTrack("end-in-half-0", 2 * half + 5000);
    expectTrackThenSilenceThenStop(played);
    EXPECT_EQ(played.record.heard.size(), 2 * 2 * ringFrames) << "two passes";
}

TEST(MusicOnADevice, LongTrackIsHeardWhole)
{
    const Played played = playTrack("long", 13 * half + 777);
    expectTrackThenSilenceThenStop(played);
    EXPECT_EQ(played.record.heard.size(), 7 * 2 * ringFrames);
}

TEST(MusicOnADevice, TrackShorterThanHalfTheRingPlaysOnePass)
{
    const Played played = playTrack("short", 10000);
    expectTrackThenSilenceThenStop(played);
    EXPECT_EQ(played.record.heard.size(), 2 * ringFrames) << "one pass";
    EXPECT_TRUE(played.record.sleeps.empty()) << "the feeder ended at its first poll";
}

TEST(MusicOnADevice, MonoTrackIsHeardOnTheLeft)
{
    const Played played = playTrack("mono", 2 * half + 9000, 1);
    expectTrackThenSilenceThenStop(played);
    for (size_t i = 1; i < played.record.heard.size(); i += 2)
        ASSERT_EQ(played.record.heard[i], 0.0f) << "right, frame " << i / 2;
}

TEST(MusicOnADevice, Track48kHzOpensAt48kHzAndSleeps170ms)
{
    const Played played = playTrack("48k", 4 * half + 100, 2, 48000);
    expectTrackThenSilenceThenStop(played);
    ASSERT_FALSE(played.record.calls.empty());
    EXPECT_EQ(played.record.calls.front(), "open 48000");
    ASSERT_FALSE(played.record.sleeps.empty());
    for (uint32_t sleep : played.record.sleeps)
        ASSERT_EQ(sleep, 170u);
}

TEST(MusicOnADevice, WithoutADeviceTheFeederFillsHalfOneOnceThenOnlyPolls)
{
    const std::string path = testFilePath("no-device.ogg");
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(6 * half, 2, 44100), 2, 44100));
    const std::vector<float> reference = decodeOggVorbis(path, 2);
    simulateNoDevice();
    limitFeederSleeps(200);
    ASSERT_TRUE(musicLoad(path.c_str())) << "a missing device is no failure";
    musicStart();
    EXPECT_FALSE(waitForFeeder()) << "the feeder polls on for good";

    const SimulatedDeviceRecord record = simulatedDeviceRecord();
    EXPECT_EQ(record.sleeps.size(), 200u);
    EXPECT_EQ(record.publishes, 200u) << "one after each poll";
    EXPECT_TRUE(record.heard.empty());
    EXPECT_EQ(record.position, 0u);
    ASSERT_NE(record.queuedRing, nullptr);
    const std::vector<float> ring(record.queuedRing, record.queuedRing + 2 * ringFrames);
    const std::vector<float> firstTwoHalves(reference.begin(), reference.begin() + 2 * ringFrames);
    EXPECT_EQ(ring, firstTwoHalves) << "half 0 prefilled, half 1 filled once, nothing since";
    std::remove(path.c_str());
}

TEST(MusicOnADevice, FilesThatCannotPlayAreRefusedBeforeTheDevice)
{
    EXPECT_FALSE(musicLoad(testFilePath("missing.ogg").c_str()));
    const std::string notOgg = testFilePath("not-ogg.ogg");
    std::FILE* file = std::fopen(notOgg.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("OggS but not really", file);
    std::fclose(file);
    EXPECT_FALSE(musicLoad(notOgg.c_str()));
    std::remove(notOgg.c_str());

    // Real files in formats the ring and the devices do not take.
    const std::string surround = testFilePath("three-channels.ogg");
    ASSERT_TRUE(writeOggVorbis(surround, makeTestSignal(3000, 3, 44100), 3, 44100));
    EXPECT_FALSE(musicLoad(surround.c_str()));
    std::remove(surround.c_str());
    const std::string tooFast = testFilePath("too-fast.ogg");
    ASSERT_TRUE(writeOggVorbisClaimingRate(tooFast, makeTestSignal(3000, 2, 44100), 2, 44100, 8192001));
    EXPECT_FALSE(musicLoad(tooFast.c_str()));
    std::remove(tooFast.c_str());

    EXPECT_TRUE(simulatedDeviceRecord().calls.empty());
}
