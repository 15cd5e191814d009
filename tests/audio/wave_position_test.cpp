// A driver may answer the position in another unit than the frames asked for; every answer
// must come back as the same frame count, never read as if it were frames.
#include "audio/wave_position.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t rate = 44100;
constexpr uint32_t bytesPerFrame = 8;
constexpr uint32_t lastGood = 777;

DevicePosition answer(PositionUnit unit, uint32_t value)
{
    DevicePosition position;
    position.unit = unit;
    position.value = value;
    return position;
}

uint32_t frames(const DevicePosition& position)
{
    return positionInFrames(position, rate, bytesPerFrame, lastGood);
}

}

TEST(WavePosition, ConvertsEveryUnitToTheSameFrame)
{
    // 2.5 s into playback: frame 110250.
    EXPECT_EQ(frames(answer(PositionUnit::Samples, 110250)), 110250u);
    EXPECT_EQ(frames(answer(PositionUnit::Bytes, 110250 * bytesPerFrame)), 110250u);
    EXPECT_EQ(frames(answer(PositionUnit::Milliseconds, 2500)), 110250u);

    DevicePosition smpte = answer(PositionUnit::Smpte, 0);
    smpte.smpte.second = 2;
    smpte.smpte.frame = 15;
    smpte.smpte.framesPerSecond = 30;
    EXPECT_EQ(frames(smpte), 110250u);
}

TEST(WavePosition, HalvesOfTheRingComeOutRightInBytes)
{
    // The feeder takes bit 14 of the frame count; a byte count read as frames would flip
    // halves eight times as often.
    EXPECT_EQ(frames(answer(PositionUnit::Bytes, 0x4000 * bytesPerFrame)) >> 14, 1u);
    EXPECT_EQ(frames(answer(PositionUnit::Bytes, 0x4000 * bytesPerFrame - 1)) >> 14, 0u);
}

TEST(WavePosition, LongRunsWrapLikeTheDriversCounter)
{
    // 27 h at 44.1 kHz passes 2^32 frames; milliseconds and SMPTE go through 64 bits first.
    const uint32_t ms = 100000000;  // 27.8 h
    const uint64_t exact = uint64_t(ms) * rate / 1000;
    EXPECT_EQ(frames(answer(PositionUnit::Milliseconds, ms)), static_cast<uint32_t>(exact));

    DevicePosition smpte = answer(PositionUnit::Smpte, 0);
    smpte.smpte.hour = 30;
    smpte.smpte.framesPerSecond = 25;
    EXPECT_EQ(frames(smpte), static_cast<uint32_t>(uint64_t(30) * 3600 * rate));
}

TEST(WavePosition, UnconvertibleUnitsKeepTheLastGoodPosition)
{
    EXPECT_EQ(frames(answer(PositionUnit::Other, 123456)), lastGood);
    DevicePosition noRate = answer(PositionUnit::Smpte, 0);
    noRate.smpte.second = 1;
    noRate.smpte.frame = 10;
    EXPECT_EQ(frames(noRate), rate) << "frames without a frame rate are left out";
    EXPECT_EQ(positionInFrames(answer(PositionUnit::Bytes, 64), rate, 0, lastGood), lastGood);
}
