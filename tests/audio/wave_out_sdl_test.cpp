// The SDL2 backend through SDL's disk driver, which writes every frame the device plays to a
// file at the pace of a real sound card. What the file holds is what a listener would hear.
#include "audio/music.h"
#include "audio/music_stream.h"
#include "audio/ogg_test_files.h"
#include "audio/wave_out.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The disk driver, chosen before SDL's audio starts; each case runs in a process of its own.
struct DiskDevice {
    std::string path;

    explicit DiskDevice(const std::string& name) : path(testFilePath(name + ".f32"))
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    }
    ~DiskDevice() { std::remove(path.c_str()); }

    // Closes the device, so the file is complete, and reads it: interleaved stereo floats.
    std::vector<float> written() const
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        std::vector<float> samples;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file)
            return samples;
        float chunk[4096];
        size_t count = 0;
        while ((count = std::fread(chunk, sizeof(float), 4096, file)) > 0)
            samples.insert(samples.end(), chunk, chunk + count);
        std::fclose(file);
        return samples;
    }
};

// The position once it has stood still for 500 ms (ten of SDL's buffers), or after 15 s.
uint32_t waitUntilStopped()
{
    uint32_t position = waveOutPosition();
    uint32_t stillFor = 0;
    for (uint32_t waited = 0; stillFor < 500 && waited < 15000; waited += 50) {
        SDL_Delay(50);
        const uint32_t now = waveOutPosition();
        stillFor = now == position ? stillFor + 50 : 0;
        position = now;
    }
    return position;
}

// The device writes silence while it waits to be started; what it played begins at the first
// sound, which for `played` is its own first non-zero sample.
size_t firstSound(const std::vector<float>& samples)
{
    size_t i = 0;
    while (i < samples.size() && samples[i] == 0.0f)
        ++i;
    return i & ~size_t(1);
}

std::vector<float> countingRing(uint32_t frames)
{
    std::vector<float> ring(frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        ring[i * 2] = float(i + 1);
        ring[i * 2 + 1] = -float(i + 1);
    }
    return ring;
}

}

TEST(WaveOutSdl, PlaysNothingBeforeTheRestart)
{
    const DiskDevice disk("paused");
    const std::vector<float> ring = countingRing(4096);
    ASSERT_TRUE(openWaveOut(44100)) << SDL_GetError();
    pauseWaveOut();
    queueLoopingBuffer(ring.data(), uint32_t(ring.size() * sizeof(float)));
    SDL_Delay(300);
    EXPECT_EQ(waveOutPosition(), 0u);

    restartWaveOut();
    uint32_t waited = 0;
    while (waveOutPosition() == 0 && waited < 5000) {
        SDL_Delay(10);
        waited += 10;
    }
    EXPECT_GT(waveOutPosition(), 0u) << "playback starts at the restart";
    const std::vector<float> written = disk.written();
    const size_t start = firstSound(written);
    ASSERT_LT(start, written.size());
    EXPECT_EQ(written[start], 1.0f) << "from the buffer's first frame";
}

TEST(WaveOutSdl, LoopsUntilBrokenThenFinishesThePassAndStops)
{
    const DiskDevice disk("loop");
    const uint32_t frames = 4096;
    const std::vector<float> ring = countingRing(frames);
    ASSERT_TRUE(openWaveOut(44100)) << SDL_GetError();
    pauseWaveOut();
    queueLoopingBuffer(ring.data(), uint32_t(ring.size() * sizeof(float)));
    restartWaveOut();
    uint32_t waited = 0;
    while (waveOutPosition() < 5 * frames / 2 && waited < 10000) {
        SDL_Delay(10);
        waited += 10;
    }
    ASSERT_GE(waveOutPosition(), 5 * frames / 2) << "the buffer loops";
    breakWaveOutLoop();
    const uint32_t position = waitUntilStopped();
    EXPECT_EQ(position % frames, 0u) << "it stops at the end of a pass";
    EXPECT_GE(position, 3 * frames);

    const std::vector<float> written = disk.written();
    const size_t start = firstSound(written);
    ASSERT_GE(written.size(), start + size_t(position) * 2);
    for (size_t i = 0; i < size_t(position) * 2; ++i)
        ASSERT_EQ(written[start + i], ring[i % ring.size()]) << "frame " << i / 2;
    EXPECT_TRUE(isSilentFrom(written, start + size_t(position) * 2)) << "silence once stopped";
}

TEST(MusicThroughSdl, WrittenSamplesEqualTheDecodedTrack)
{
    const DiskDevice disk("music");
    const std::string path = testFilePath("music.ogg");
    const uint32_t frames = 2 * ringHalfFrames + 7000;
    ASSERT_TRUE(writeOggVorbis(path, makeTestSignal(frames, 2, 44100), 2, 44100));
    const std::vector<float> track = decodeOggVorbis(path, 2);
    ASSERT_EQ(track.size(), size_t(frames) * 2);

    ASSERT_TRUE(musicLoad(path.c_str()));
    musicStart();
    const uint32_t position = waitUntilStopped();
    EXPECT_EQ(position, 2 * ringFrames) << "two passes through the ring, then the device stops";

    const std::vector<float> written = disk.written();
    ASSERT_GE(firstSound(written), firstSound(track));
    const size_t start = firstSound(written) - firstSound(track);
    ASSERT_GE(written.size(), start + track.size());
    for (size_t i = 0; i < track.size(); ++i)
        ASSERT_EQ(written[start + i], track[i]) << "frame " << i / 2 << (i % 2 ? " right" : " left");
    EXPECT_TRUE(isSilentFrom(written, start + track.size())) << "exact silence after the track";
    std::remove(path.c_str());
}
