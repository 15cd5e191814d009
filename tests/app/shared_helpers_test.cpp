// The helpers every subsystem shares: the random generator and the whole-file reader.
#include "core/load_whole_file.h"
#include "core/random.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

TEST(Random, SequenceFromTheShowSeed)
{
    // Each draw is the 23 low bits of the state before it advances, over 2^23.
    setRandomSeed(7928);
    uint32_t state = 7928;
    for (int i = 0; i < 2048 + 48 + 320; ++i) {
        const float expected = float(state & 0x7FFFFFu) / 8388608.0f;
        ASSERT_EQ(randomUnit(), expected) << "draw " << i;
        state *= 16807u;
    }

    setRandomSeed(7928);
    EXPECT_EQ(randomUnit(), 7928.0f / 8388608.0f);
    EXPECT_EQ(randomUnit(), float((7928u * 16807u) & 0x7FFFFFu) / 8388608.0f);
}

TEST(Random, UnitStaysInHalfOpenRange)
{
    setRandomSeed(0x7FFFFFu);  // the largest mantissa: the closest draw to 1
    const float largest = randomUnit();
    EXPECT_LT(largest, 1.0f);
    EXPECT_EQ(largest, 8388607.0f / 8388608.0f);

    setRandomSeed(0x800000u);  // no mantissa bits: exactly 0
    EXPECT_EQ(randomUnit(), 0.0f);
}

TEST(Random, RangeIsComputedInSinglePrecision)
{
    setRandomSeed(7928);
    const float u = 7928.0f / 8388608.0f;
    const float a = 0.1f, b = 123.456f;
    const float expected = a + u * (b - a);
    EXPECT_EQ(randomRange(a, b), expected);

    // A reversed range runs downwards from a.
    setRandomSeed(7928);
    EXPECT_EQ(randomRange(10.0f, -10.0f), 10.0f + u * -20.0f);
}

namespace {
std::string writeFile(const std::string& name, const std::string& bytes)
{
    const auto path = std::filesystem::temp_directory_path() / ("show-load-" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}
}

TEST(LoadWholeFile, ReadsExactBytesAndSize)
{
    const std::string bytes("a\0b\r\n\xff", 6);
    const std::string path = writeFile("bytes", bytes);
    size_t size = 0;
    uint8_t* data = loadWholeFile(path.c_str(), &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, bytes.size());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), bytes);
    std::free(data);

    // The size is optional.
    data = loadWholeFile(path.c_str());
    ASSERT_NE(data, nullptr);
    std::free(data);
}

TEST(LoadWholeFile, EmptyFileIsABufferOfSizeZero)
{
    const std::string path = writeFile("empty", "");
    size_t size = 99;
    uint8_t* data = loadWholeFile(path.c_str(), &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 0u);
    std::free(data);
}

TEST(LoadWholeFile, FailuresReturnNullAndStoreNothing)
{
    size_t size = 1234;
    EXPECT_EQ(loadWholeFile("no/such/file.bin", &size), nullptr);
    EXPECT_EQ(size, 1234u);

    // A folder opens on some systems but cannot be read as a file.
    const auto folder = std::filesystem::temp_directory_path() / "show-load-folder";
    std::filesystem::create_directories(folder);
    uint8_t* data = loadWholeFile(folder.string().c_str(), &size);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 1234u);
}
