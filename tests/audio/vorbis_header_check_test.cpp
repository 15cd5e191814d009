// The check made before the decoder sees a file: files libvorbisenc writes pass, and a comment
// header whose lengths run past its packet, or that is cut short, is refused.
#include "audio/ogg_test_files.h"
#include "audio/vorbis_header_check.h"
#include "core/load_whole_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The first page holds the 30-byte identification header alone (27 header bytes, one lacing
// value), so the second page, which starts the comment header, begins at byte 58.
constexpr size_t secondPage = 58;

struct EncodedFile {
    std::vector<uint8_t> bytes;
    size_t commentStart = 0;  // the comment header's first byte (its packet type)
    size_t commentSize = 0;   // the comment header's length

    uint32_t length(size_t offset) const
    {
        return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
               uint32_t(bytes[offset + 3]) << 24;
    }
    void putLength(size_t offset, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[offset + size_t(i)] = uint8_t(value >> (8 * i));
    }
    bool bounded() const { return vorbisHeadersAreBounded(bytes.data(), bytes.size()); }
};

EncodedFile encode(uint32_t channels)
{
    EncodedFile file;
    const std::string path = testFilePath("header-" + std::to_string(channels) + ".ogg");
    if (!writeOggVorbis(path, makeTestSignal(4000, channels, 44100), channels, 44100)) {
        ADD_FAILURE() << "could not make " << path;
        return file;
    }
    size_t size = 0;
    uint8_t* data = loadWholeFile(path.c_str(), &size);
    std::remove(path.c_str());
    if (!data || size < secondPage + 27) {
        ADD_FAILURE() << "could not read " << path;
        std::free(data);
        return file;
    }
    file.bytes.assign(data, data + size);
    std::free(data);
    // The comment header is the second page's first packet: its lacing values up to the first
    // one under 255.
    const size_t segments = file.bytes[secondPage + 26];
    file.commentStart = secondPage + 27 + segments;
    for (size_t i = 0; i < segments; ++i) {
        file.commentSize += file.bytes[secondPage + 27 + i];
        if (file.bytes[secondPage + 27 + i] < 255)
            break;
    }
    EXPECT_EQ(file.bytes[file.commentStart], 3) << "a comment header";
    return file;
}

}

TEST(VorbisHeaderCheck, PassesEveryFileTheEncoderWrites)
{
    for (uint32_t channels : {1u, 2u, 3u}) {
        const EncodedFile file = encode(channels);
        EXPECT_TRUE(file.bounded()) << channels << " channels";
    }
}

TEST(VorbisHeaderCheck, RefusesAVendorLengthPastThePacket)
{
    EncodedFile file = encode(2);
    ASSERT_TRUE(file.bounded());
    const size_t vendorLength = file.commentStart + 7;
    const uint32_t fits = uint32_t(file.commentSize - 7 - 4 - 4);  // the rest, less the count
    const uint32_t original = file.length(vendorLength);
    file.putLength(vendorLength, 0xFFFFFFF0u);
    EXPECT_FALSE(file.bounded()) << "a negative length, as the decoder reads it";
    file.putLength(vendorLength, fits + 5);
    EXPECT_FALSE(file.bounded()) << "past the packet's end";
    file.putLength(vendorLength, fits + 1);
    EXPECT_FALSE(file.bounded()) << "leaving no room for the comment count";
    file.putLength(vendorLength, original);
    EXPECT_TRUE(file.bounded());
}

TEST(VorbisHeaderCheck, RefusesACommentCountPastThePacket)
{
    EncodedFile file = encode(2);
    const size_t vendorLength = file.commentStart + 7;
    const size_t count = vendorLength + 4 + file.length(vendorLength);
    file.putLength(count, 0x7FFFFFFFu);
    EXPECT_FALSE(file.bounded());
    file.putLength(count, 0);
    EXPECT_TRUE(file.bounded()) << "no comments is fine";
}

TEST(VorbisHeaderCheck, RefusesAFileCutBeforeTheCommentHeaderEnds)
{
    EncodedFile file = encode(2);
    file.bytes.resize(file.commentStart + 10);
    EXPECT_FALSE(file.bounded());
    file.bytes.resize(secondPage + 3);
    EXPECT_FALSE(file.bounded()) << "cut inside the second page's header";
    EXPECT_FALSE(vorbisHeadersAreBounded(nullptr, 0));
}
