// The feeder's double buffering, stepped poll by poll at device positions the test chooses, on
// real Ogg Vorbis files made here. The ring is compared with a reference decode of the same
// file, so every check says which frames of the track landed in which half.
#include "audio/music_stream.h"
#include "audio/ogg_test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unistd.h>

namespace {

constexpr uint32_t half = ringHalfFrames;

struct Track {
    std::string path;
    std::vector<float> reference;  // the whole track decoded to stereo
    MusicStream stream;
    FeederState state;

    uint32_t frames() const { return uint32_t(reference.size() / ringChannels); }

    ~Track()
    {
        freeMusicStream(stream);
        std::remove(path.c_str());
    }
};

// Makes a file of `frames` frames, opens it as a stream (which prefills half 0) and decodes the
// reference. Null, with a test failure, when any of that fails.
std::unique_ptr<Track> openTrack(const std::string& name, uint32_t frames, uint32_t channels = 2,
                                 uint32_t sampleRate = 44100)
{
    auto track = std::make_unique<Track>();
    track->path = testFilePath(name + ".ogg");
    if (!writeOggVorbis(track->path, makeTestSignal(frames, channels, sampleRate), channels, sampleRate)) {
        ADD_FAILURE() << "could not make " << track->path;
        return nullptr;
    }
    track->reference = decodeOggVorbis(track->path, ringChannels);
    if (track->frames() != frames) {
        ADD_FAILURE() << "the reference decode has " << track->frames() << " frames, not " << frames;
        return nullptr;
    }
    if (!openMusicStream(track->stream, track->path.c_str())) {
        ADD_FAILURE() << "openMusicStream refused " << track->path;
        return nullptr;
    }
    return track;
}

std::vector<float> ringHalf(const Track& track, uint32_t index)
{
    const float* start = track.stream.ring + index * ringHalfFloats;
    return std::vector<float>(start, start + ringHalfFloats);
}

// One half's worth of the track from frame `first`, silence past the track's end.
std::vector<float> trackFrames(const Track& track, uint32_t first)
{
    std::vector<float> frames(ringHalfFloats, 0.0f);
    for (uint32_t i = 0; i < ringHalfFloats && first * ringChannels + i < track.reference.size(); ++i)
        frames[i] = track.reference[first * ringChannels + i];
    return frames;
}

FeederPoll pollAt(Track& track, uint32_t position)
{
    return pollFeeder(track.stream, track.state, position);
}

}

TEST(MusicStreamOpen, PrefillsHalfZeroWithTheFirstFramesAndReadsTheRate)
{
    auto track = openTrack("prefill", 3 * half);
    ASSERT_TRUE(track);
    EXPECT_EQ(track->stream.sampleRate, 44100u);
    EXPECT_EQ(ringHalf(*track, 0), trackFrames(*track, 0));
    EXPECT_TRUE(isSilentFrom(ringHalf(*track, 1), 0)) << "half 1 is the feeder's to fill";
}

TEST(MusicStreamOpen, DecodesTheSignalThatWasEncoded)
{
    // Level of each 4096-frame block against the ramp that was encoded: a decoder that returned
    // the wrong stretch of the track, or noise, would miss it.
    const uint32_t frames = 4 * half;
    auto track = openTrack("levels", frames);
    ASSERT_TRUE(track);
    for (uint32_t block = 0; block + 1 < frames / 4096; ++block) {
        for (uint32_t channel = 0; channel < 2; ++channel) {
            double power = 0.0;
            for (uint32_t i = block * 4096; i < (block + 1) * 4096; ++i) {
                const double sample = track->reference[i * 2 + channel];
                power += sample * sample;
            }
            const double level = std::sqrt(power / 4096.0);
            const double middle = (block * 4096 + 2048) / double(frames - 1);
            const double expected = (0.1 + 0.7 * middle) / std::sqrt(2.0);
            EXPECT_NEAR(level, expected, 0.05 * expected) << "block " << block << " channel " << channel;
        }
    }
}

TEST(MusicStreamOpen, RefusesFilesItCannotPlay)
{
    MusicStream stream;
    EXPECT_FALSE(openMusicStream(stream, testFilePath("missing.ogg").c_str()));

    const std::string notOgg = testFilePath("not-ogg.ogg");
    std::FILE* file = std::fopen(notOgg.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("RIFF....WAVEfmt this is no Ogg Vorbis stream", file);
    std::fclose(file);
    EXPECT_FALSE(openMusicStream(stream, notOgg.c_str()));

    file = std::fopen(notOgg.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_FALSE(openMusicStream(stream, notOgg.c_str())) << "an empty file";
    std::remove(notOgg.c_str());

    // A real file cut inside its first page: the headers are incomplete.
    const std::string cut = testFilePath("cut.ogg");
    ASSERT_TRUE(writeOggVorbis(cut, makeTestSignal(half, 2, 44100), 2, 44100));
    ASSERT_EQ(truncate(cut.c_str(), 58), 0);
    EXPECT_FALSE(openMusicStream(stream, cut.c_str())) << "a file cut inside its headers";
    std::remove(cut.c_str());

    EXPECT_EQ(stream.decoder, nullptr);
    EXPECT_EQ(stream.ring, nullptr);
    EXPECT_EQ(stream.fileData, nullptr);
}

// Opens a file whose header claims `headerRate`; the stream is freed again.
bool opensClaimingRate(uint32_t headerRate, uint32_t* openedRate = nullptr)
{
    const std::string path = testFilePath("rate-" + std::to_string(headerRate) + ".ogg");
    if (!writeOggVorbisClaimingRate(path, makeTestSignal(3000, 2, 44100), 2, 44100, headerRate)) {
        ADD_FAILURE() << "could not make " << path;
        return false;
    }
    EXPECT_FALSE(decodeOggVorbis(path, 2).empty()) << "the file itself decodes at " << headerRate;
    MusicStream stream;
    const bool opened = openMusicStream(stream, path.c_str());
    if (!opened) {
        EXPECT_EQ(stream.decoder, nullptr);
        EXPECT_EQ(stream.ring, nullptr);
        EXPECT_EQ(stream.fileData, nullptr);
    }
    if (openedRate)
        *openedRate = stream.sampleRate;
    freeMusicStream(stream);
    std::remove(path.c_str());
    return opened;
}

TEST(MusicStreamOpen, RefusesRatesNoDeviceCanPlay)
{
    EXPECT_FALSE(opensClaimingRate(7999));
    EXPECT_FALSE(opensClaimingRate(192001));
    EXPECT_FALSE(opensClaimingRate(8192001)) << "where the feeder's sleep would be 0 ms";
    EXPECT_FALSE(opensClaimingRate(536870912)) << "where 8 bytes a frame overflow 32 bits";
    EXPECT_FALSE(opensClaimingRate(0xFFFFFFFFu));
}

TEST(MusicStreamOpen, TakesTheWholePlayableRange)
{
    uint32_t rate = 0;
    EXPECT_TRUE(opensClaimingRate(8000, &rate));
    EXPECT_EQ(rate, 8000u);
    EXPECT_TRUE(opensClaimingRate(192000, &rate));
    EXPECT_EQ(rate, 192000u);
}

TEST(MusicStreamOpen, RefusesMoreChannelsThanTheRingHolds)
{
    // Three channels are left, centre, right: the first two of them are not a stereo pair.
    const std::string path = testFilePath("three-channels.ogg");
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(3000, 3, 44100), 3, 44100));
    ASSERT_EQ(decodeOggVorbis(path, 3).size(), 3000u * 3) << "the file itself decodes";
    MusicStream stream;
    EXPECT_FALSE(openMusicStream(stream, path.c_str()));
    EXPECT_EQ(stream.decoder, nullptr);
    EXPECT_EQ(stream.ring, nullptr);
    EXPECT_EQ(stream.fileData, nullptr);
    std::remove(path.c_str());
}

TEST(FeederPolls, FirstPollWhilePausedFillsHalfOneWithTheSecondFrames)
{
    auto track = openTrack("first-pass", 5 * half);
    ASSERT_TRUE(track);
    EXPECT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    EXPECT_EQ(track->state.lastHalf, 0u);
    EXPECT_EQ(ringHalf(*track, 0), trackFrames(*track, 0));
    EXPECT_EQ(ringHalf(*track, 1), trackFrames(*track, half));
}

TEST(FeederPolls, RefillsTheHalfJustLeftWithTheNext16384Frames)
{
    const uint32_t frames = 9 * half + 1000;
    auto track = openTrack("refill", frames);
    ASSERT_TRUE(track);
    ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);

    uint32_t nextFrame = 2 * half;
    for (uint32_t change = 1; change <= 6; ++change) {
        const uint32_t entered = change % 2;
        const uint32_t left = 1 - entered;
        const std::vector<float> leftBefore = ringHalf(*track, left);
        const std::vector<float> playingBefore = ringHalf(*track, entered);

        // Polls inside the same half change nothing.
        ASSERT_EQ(pollAt(*track, change * half - 1), FeederPoll::KeepPolling);
        EXPECT_EQ(ringHalf(*track, left), leftBefore) << "before change " << change;

        ASSERT_EQ(pollAt(*track, change * half + 37), FeederPoll::KeepPolling);
        EXPECT_EQ(ringHalf(*track, left), trackFrames(*track, nextFrame)) << "change " << change;
        EXPECT_EQ(ringHalf(*track, entered), playingBefore) << "the playing half is left alone";
        nextFrame += half;

        ASSERT_EQ(pollAt(*track, change * half + half / 2), FeederPoll::KeepPolling);
        EXPECT_EQ(ringHalf(*track, left), trackFrames(*track, nextFrame - half));
    }
}

TEST(FeederPolls, KeepsAlternatingWhenThePositionWrapsAround)
{
    auto track = openTrack("wrap", 5 * half);
    ASSERT_TRUE(track);
    ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    ASSERT_EQ(pollAt(*track, 0xFFFFFFFFu), FeederPoll::KeepPolling);  // in half 1
    EXPECT_EQ(ringHalf(*track, 0), trackFrames(*track, 2 * half));
    ASSERT_EQ(pollAt(*track, 5), FeederPoll::KeepPolling);  // wrapped into half 0
    EXPECT_EQ(ringHalf(*track, 1), trackFrames(*track, 3 * half));
}

TEST(FeederPolls, TrackEndingInARefillOfHalfOneEndsTheFeeder)
{
    // The fourth chunk, cut short, goes into half 1 while half 0 plays (second pass).
    const uint32_t frames = 3 * half + 5000;
    auto track = openTrack("end-in-half-1", frames);
    ASSERT_TRUE(track);
    ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    ASSERT_EQ(pollAt(*track, half), FeederPoll::KeepPolling);
    EXPECT_EQ(pollAt(*track, 2 * half), FeederPoll::TrackEnded);

    const std::vector<float> lastHalf = ringHalf(*track, 1);
    EXPECT_EQ(lastHalf, trackFrames(*track, 3 * half));
    EXPECT_NE(lastHalf[4999 * 2], 0.0f) << "the last frame of the track is there";
    EXPECT_TRUE(isSilentFrom(lastHalf, 5000 * 2)) << "exact silence after the last frame";
    EXPECT_EQ(ringHalf(*track, 0), trackFrames(*track, 2 * half));
}

TEST(FeederPolls, TrackEndingInARefillOfHalfZeroEndsAtTheNextChange)
{
    const uint32_t frames = 2 * half + 5000;
    auto track = openTrack("end-in-half-0", frames);
    ASSERT_TRUE(track);
    ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    EXPECT_EQ(pollAt(*track, half), FeederPoll::KeepPolling) << "half 1 still has frames to play";
    const std::vector<float> shortHalf = ringHalf(*track, 0);
    EXPECT_EQ(shortHalf, trackFrames(*track, 2 * half));
    EXPECT_TRUE(isSilentFrom(shortHalf, 5000 * 2));

    EXPECT_EQ(pollAt(*track, half + 8000), FeederPoll::KeepPolling);
    EXPECT_EQ(pollAt(*track, 2 * half), FeederPoll::TrackEnded);
    EXPECT_TRUE(isSilentFrom(ringHalf(*track, 1), 0)) << "the refill after the end is all silence";
    EXPECT_EQ(ringHalf(*track, 0), shortHalf);
}

TEST(FeederPolls, TrackShorterThanHalfTheRingEndsAtTheFirstPoll)
{
    auto track = openTrack("short", 10000);
    ASSERT_TRUE(track);
    EXPECT_EQ(ringHalf(*track, 0), trackFrames(*track, 0));
    EXPECT_TRUE(isSilentFrom(ringHalf(*track, 0), 10000 * 2));
    EXPECT_EQ(pollAt(*track, 0), FeederPoll::TrackEnded);
    EXPECT_TRUE(isSilentFrom(ringHalf(*track, 1), 0));
}

TEST(FeederPolls, MonoFilePlaysOnTheLeftWithSilenceOnTheRight)
{
    const uint32_t frames = 2 * half + 3000;
    const std::string path = testFilePath("mono.ogg");
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(frames, 1, 44100), 1, 44100));
    const std::vector<float> mono = decodeOggVorbis(path, 1);
    ASSERT_EQ(mono.size(), frames);

    MusicStream stream;
    ASSERT_TRUE(openMusicStream(stream, path.c_str()));
    FeederState state;
    std::vector<float> played(stream.ring, stream.ring + ringHalfFloats);
    ASSERT_EQ(pollFeeder(stream, state, 0), FeederPoll::KeepPolling);
    played.insert(played.end(), stream.ring + ringHalfFloats, stream.ring + 2 * ringHalfFloats);
    ASSERT_EQ(pollFeeder(stream, state, half), FeederPoll::KeepPolling);
    played.insert(played.end(), stream.ring, stream.ring + ringHalfFloats);

    for (uint32_t i = 0; i < 3 * half; ++i) {
        ASSERT_EQ(played[i * 2], i < frames ? mono[i] : 0.0f) << "left, frame " << i;
        ASSERT_EQ(played[i * 2 + 1], 0.0f) << "right, frame " << i;
    }
    freeMusicStream(stream);
    std::remove(path.c_str());
}

TEST(FeederPolls, PositionThatNeverMovesFillsHalfOneOnceThenOnlyPolls)
{
    // No device: the position stays at 0 for good.
    auto track = openTrack("no-device", 6 * half);
    ASSERT_TRUE(track);
    ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    const std::vector<float> half0 = ringHalf(*track, 0);
    const std::vector<float> half1 = ringHalf(*track, 1);
    EXPECT_EQ(half1, trackFrames(*track, half));
    for (int poll = 0; poll < 100; ++poll)
        ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    EXPECT_EQ(ringHalf(*track, 0), half0);
    EXPECT_EQ(ringHalf(*track, 1), half1);

    // Nothing was decoded meanwhile: the next refill is still the third chunk.
    ASSERT_EQ(pollAt(*track, half), FeederPoll::KeepPolling);
    EXPECT_EQ(ringHalf(*track, 0), trackFrames(*track, 2 * half));
}

TEST(FeederPolls, ReadsA48kHzFileAtItsOwnRate)
{
    auto track = openTrack("48k", 3 * half, 2, 48000);
    ASSERT_TRUE(track);
    EXPECT_EQ(track->stream.sampleRate, 48000u);
    ASSERT_EQ(pollAt(*track, 0), FeederPoll::KeepPolling);
    EXPECT_EQ(ringHalf(*track, 1), trackFrames(*track, half));
}

TEST(FeederSleep, IsHalfThePlayingTimeOfOneHalfOfTheRing)
{
    EXPECT_EQ(feederSleepMilliseconds(44100), 185u);
    EXPECT_EQ(feederSleepMilliseconds(48000), 170u);
    EXPECT_EQ(feederSleepMilliseconds(22050), 371u);
    EXPECT_EQ(feederSleepMilliseconds(96000), 85u);
    EXPECT_EQ(feederSleepMilliseconds(8000), 1024u);
    EXPECT_EQ(feederSleepMilliseconds(192000), 42u);
}

TEST(FeederSleep, NeverFallsUnderOneMillisecond)
{
    EXPECT_EQ(feederSleepMilliseconds(4096000), 2u);
    EXPECT_EQ(feederSleepMilliseconds(8192000), 1u);
    EXPECT_EQ(feederSleepMilliseconds(8192001), 1u) << "8192000 / rate is 0 from here on";
    EXPECT_EQ(feederSleepMilliseconds(0xFFFFFFFFu), 1u);
}
