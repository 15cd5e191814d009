// The setup header's part of the check made before the decoder sees a file: the codebooks of
// every encoder setting pass; codebooks stating more entries than the limit, lookup tables whose
// size the decoder would work out wrong, codewords too long for it, and codebooks cut short are
// refused.
#include "audio/vorbis_header_check.h"

#include <vorbis/vorbisenc.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Values packed as Vorbis packs them, least significant bit first.
class BitWriter {
public:
    void put(uint32_t value, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i, ++bits_) {
            if (bits_ % 8 == 0)
                bytes_.push_back(0);
            bytes_.back() = uint8_t(bytes_.back() | ((value >> i) & 1u) << (bits_ % 8));
        }
    }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
    size_t bits_ = 0;
};

unsigned bitLength(uint32_t value)
{
    unsigned bits = 0;
    for (; value; value >>= 1)
        ++bits;
    return bits;
}

// The values of a lookup table of type 1: the greatest r with r^dimensions <= entries.
uint32_t latticeValues(uint32_t entries, uint32_t dimensions)
{
    if (dimensions == 0)
        return 0;
    const auto fits = [&](uint64_t base) {
        uint64_t power = 1;
        for (uint32_t i = 0; i < dimensions && power <= entries; ++i)
            power *= base;
        return power <= entries;
    };
    uint32_t r = 1;
    while (fits(r + 1))
        ++r;
    return r;
}

struct Codebook {
    uint32_t entries;
    uint32_t dimensions = 1;
    uint32_t lookupType = 0;
    uint32_t codewordLength = 0;  // 0: the fewest bits that number every entry
    bool ordered = true;
};

// A setup header of the given codebooks and nothing after them (the check stops there). Every
// codeword of a codebook has the same length: in the ordered form, one run of every entry. Lookup
// values are 4 bits wide.
Bytes setupPacket(const std::vector<Codebook>& books)
{
    BitWriter bits;
    for (char byte : {'\5', 'v', 'o', 'r', 'b', 'i', 's'})
        bits.put(uint8_t(byte), 8);
    bits.put(uint32_t(books.size() - 1), 8);
    for (const Codebook& book : books) {
        bits.put(0x564342, 24);
        bits.put(book.dimensions, 16);
        bits.put(book.entries, 24);
        const uint32_t length = book.codewordLength ? book.codewordLength : bitLength(book.entries);
        bits.put(book.ordered, 1);
        if (book.ordered) {
            bits.put(length - 1, 5);
            bits.put(book.entries, bitLength(book.entries));
        } else {
            bits.put(0, 1);  // not sparse
            for (uint32_t i = 0; i < book.entries; ++i)
                bits.put(length - 1, 5);
        }
        bits.put(book.lookupType, 4);
        if (book.lookupType == 0)
            continue;
        bits.put(0, 32);
        bits.put(0, 32);
        bits.put(3, 4);
        bits.put(0, 1);
        const uint32_t values =
            book.lookupType == 1 ? latticeValues(book.entries, book.dimensions) : book.entries * book.dimensions;
        for (uint32_t i = 0; i < values; ++i)
            bits.put(i, 4);
    }
    return bits.bytes();
}

// A file's three header packets as libvorbisenc makes them for one setting, paged by libogg;
// `setup` replaces the encoder's own setup header where it is given.
Bytes headerPages(long channels, long rate, float quality, const Bytes* setup = nullptr)
{
    vorbis_info info;
    vorbis_info_init(&info);
    Bytes file;
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        ADD_FAILURE() << "libvorbisenc refused " << channels << " channels at " << rate << " Hz";
        vorbis_info_clear(&info);
        return file;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    if (setup) {
        codebooks.packet = const_cast<unsigned char*>(setup->data());
        codebooks.bytes = long(setup->size());
    }
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    for (ogg_packet* packet : {&identification, &comments, &codebooks})
        ogg_stream_packetin(&stream, packet);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) {
        file.insert(file.end(), page.header, page.header + page.header_len);
        file.insert(file.end(), page.body, page.body + page.body_len);
    }
    ogg_stream_clear(&stream);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return file;
}

bool boundedWithSetup(const Bytes& setup)
{
    const Bytes file = headerPages(2, 44100, 0.5f, &setup);
    return vorbisHeadersAreBounded(file.data(), file.size());
}

}

TEST(VorbisSetupCheck, PassesTheCodebooksOfEveryEncoderSetting)
{
    for (long channels : {1L, 2L, 6L})
        for (long rate : {8000L, 44100L, 96000L})
            for (float quality : {-0.1f, 0.5f, 1.0f}) {
                const Bytes file = headerPages(channels, rate, quality);
                EXPECT_TRUE(vorbisHeadersAreBounded(file.data(), file.size()))
                    << channels << " channels, " << rate << " Hz, quality " << quality;
            }
    EXPECT_TRUE(boundedWithSetup(setupPacket({{65536}, {3, 1, 2}, {289, 2, 1}})))
        << "the test's own setup headers are well formed";
}

TEST(VorbisSetupCheck, RefusesMoreCodebookEntriesThanTheLimit)
{
    // 256 codebooks of 16,777,215 entries each fit in 3 KB: the decoder would build tables of
    // 4 billion entries.
    const std::vector<Codebook> largest(256, Codebook{0xFFFFFF});
    EXPECT_FALSE(boundedWithSetup(setupPacket(largest)));

    std::vector<Codebook> books(maxCodebookEntriesInAll / 65536, Codebook{65536});
    EXPECT_TRUE(boundedWithSetup(setupPacket(books))) << "exactly the limit";
    books.push_back({1});
    EXPECT_FALSE(boundedWithSetup(setupPacket(books))) << "one entry more";
}

TEST(VorbisSetupCheck, RefusesLookupTablesTheDecoderWouldSizeWrongly)
{
    // Type 1: the greatest r with r^dimensions <= entries. The decoder reckons it with int
    // powers, which overflow once (r + 1)^dimensions passes 2^31 (here 2^40).
    EXPECT_TRUE(boundedWithSetup(setupPacket({{289, 2, 1}}))) << "17 x 17";
    EXPECT_TRUE(boundedWithSetup(setupPacket({{5, 18, 1}}))) << "3^18 fits an int";
    EXPECT_FALSE(boundedWithSetup(setupPacket({{5, 40, 1}})));
    EXPECT_FALSE(boundedWithSetup(setupPacket({{5, 0, 1}}))) << "no dimensions";

    // Type 2: entries x dimensions values, counted against their own limit.
    const uint32_t entries = maxLookupVectorValuesInAll / 4;
    EXPECT_TRUE(boundedWithSetup(setupPacket({{entries, 4, 2}})));
    EXPECT_FALSE(boundedWithSetup(setupPacket({{entries, 4, 2}, {1, 1, 2}})));
    EXPECT_FALSE(boundedWithSetup(setupPacket({{1, 1, 3}}))) << "no lookup type 3";
}

TEST(VorbisSetupCheck, RefusesCodewordsLongerThanTheDecoderHandles)
{
    // The decoder masks a codeword of n bits with (1 << n) - 1 in an int.
    for (bool ordered : {true, false}) {
        EXPECT_TRUE(boundedWithSetup(setupPacket({{3, 1, 0, 30, ordered}}))) << ordered;
        EXPECT_FALSE(boundedWithSetup(setupPacket({{3, 1, 0, 31, ordered}}))) << ordered;
    }
}

TEST(VorbisSetupCheck, RefusesCodebooksCutShortOrOutOfStep)
{
    Bytes setup = setupPacket({{289, 2, 1}, {65536}});
    ASSERT_TRUE(boundedWithSetup(setup));
    for (size_t size : {size_t(6), size_t(9), setup.size() - 1}) {
        const Bytes cut(setup.begin(), setup.begin() + long(size));
        EXPECT_FALSE(boundedWithSetup(cut)) << "cut to " << size << " bytes";
    }
    setup[9] ^= 0x01;  // the first codebook's sync pattern
    EXPECT_FALSE(boundedWithSetup(setup));

    Bytes wrongType = setupPacket({{289, 2, 1}});
    wrongType[0] = 3;  // a comment header's packet type
    EXPECT_FALSE(boundedWithSetup(wrongType));
}
