#include "audio/vorbis_header_check.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr size_t pageHeaderBytes = 27;

uint32_t readLittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// The first `count` packets of the file, gathered from its pages' segments in order (a segment
// under 255 bytes ends a packet). False when the pages run out, or stop being pages, first.
bool firstPackets(const uint8_t* data, size_t size, size_t count, std::vector<std::vector<uint8_t>>& packets)
{
    packets.assign(1, {});
    size_t offset = 0;
    while (packets.size() <= count) {
        if (size - offset < pageHeaderBytes)
            return false;
        const uint8_t* page = data + offset;
        if (page[0] != 'O' || page[1] != 'g' || page[2] != 'g' || page[3] != 'S')
            return false;
        const size_t segments = page[26];
        if (size - offset - pageHeaderBytes < segments)
            return false;
        const uint8_t* lacing = page + pageHeaderBytes;
        size_t bodyBytes = 0;
        for (size_t i = 0; i < segments; ++i)
            bodyBytes += lacing[i];
        const size_t bodyStart = offset + pageHeaderBytes + segments;
        if (size - bodyStart < bodyBytes)
            return false;
        const uint8_t* body = data + bodyStart;
        for (size_t i = 0; i < segments && packets.size() <= count; ++i) {
            packets.back().insert(packets.back().end(), body, body + lacing[i]);
            body += lacing[i];
            if (lacing[i] < 255)
                packets.emplace_back();
        }
        offset = bodyStart + bodyBytes;
    }
    packets.pop_back();  // the one begun after the last wanted
    return true;
}

// Reads a 32-bit length at `at` and steps past it and the bytes it counts; false when either
// runs past the end.
bool skipCounted(const std::vector<uint8_t>& packet, size_t& at)
{
    if (packet.size() - at < 4)
        return false;
    const uint32_t length = readLittleEndian32(packet.data() + at);
    at += 4;
    if (packet.size() - at < length)
        return false;
    at += length;
    return true;
}

bool commentHeaderIsBounded(const std::vector<uint8_t>& comments)
{
    // Packet type and "vorbis", then the vendor string, the comment count and the comments.
    size_t at = 7;
    if (comments.size() < at || !skipCounted(comments, at) || comments.size() - at < 4)
        return false;
    const uint32_t count = readLittleEndian32(comments.data() + at);
    at += 4;
    // Each comment takes at least its 4-byte length, so a count past what the packet can hold
    // ends this loop early, as refused.
    for (uint32_t i = 0; i < count; ++i)
        if (!skipCounted(comments, at))
            return false;
    return true;
}

// The setup header's bits, read as Vorbis packs them: each value from its least significant bit
// up, filling each byte from its least significant bit.
class PacketBits {
public:
    PacketBits(const std::vector<uint8_t>& packet, size_t firstByte)
        : packet_(packet), at_(uint64_t(firstByte) * 8), end_(uint64_t(packet.size()) * 8)
    {}

    // Up to 32 bits; false, with nothing read, past the packet's end.
    bool read(unsigned count, uint32_t& value)
    {
        if (end_ < at_ || end_ - at_ < count)
            return false;
        value = 0;
        for (unsigned i = 0; i < count; ++i, ++at_)
            value |= uint32_t((packet_[size_t(at_ / 8)] >> (at_ % 8)) & 1u) << i;
        return true;
    }

    bool skip(uint64_t count)
    {
        if (end_ < at_ || end_ - at_ < count)
            return false;
        at_ += count;
        return true;
    }

private:
    const std::vector<uint8_t>& packet_;
    uint64_t at_;
    uint64_t end_;
};

// The number of bits that hold `value`: 0 for 0.
unsigned bitLength(uint32_t value)
{
    unsigned bits = 0;
    for (; value; value >>= 1)
        ++bits;
    return bits;
}

// base to the power `exponent`, or anything over `limit` once it exceeds it.
uint64_t powerUpTo(uint64_t base, uint32_t exponent, uint64_t limit)
{
    uint64_t result = 1;
    for (uint32_t i = 0; i < exponent && result <= limit; ++i)
        result *= base;
    return result;
}

// The longest codeword the decoder handles soundly: it masks a codeword of n bits with
// (1 << n) - 1 in an int, which overflows at 31. The format allows up to 32; libvorbis and
// ffmpeg write 22 at most.
constexpr uint32_t maxCodewordLength = 30;

// The codeword lengths of one codebook, in either of its two forms: the bits they take, and
// that no codeword is longer than the decoder handles.
bool skipCodewordLengths(PacketBits& bits, uint32_t entries)
{
    uint32_t ordered = 0, value = 0;
    if (!bits.read(1, ordered))
        return false;
    if (ordered) {
        // Runs of entries, each one bit longer than the last; no entry may be left over for a
        // length past the longest.
        if (!bits.read(5, value))
            return false;
        uint32_t length = value + 1;
        for (uint32_t entry = 0; entry < entries; ++length) {
            if (length > maxCodewordLength || !bits.read(bitLength(entries - entry), value) || value > entries - entry)
                return false;
            entry += value;
        }
        return true;
    }
    uint32_t sparse = 0;
    if (!bits.read(1, sparse))
        return false;
    for (uint32_t entry = 0; entry < entries; ++entry) {
        uint32_t present = 1;
        if (sparse && !bits.read(1, present))
            return false;
        if (present && (!bits.read(5, value) || value + 1 > maxCodewordLength))
            return false;
    }
    return true;
}

// The number of values in a lookup table of type 1: the greatest r with r^dimensions no more than
// entries. Zero, as refused, where the decoder's own reckoning of it would overflow an int: it
// evaluates (r + 1)^dimensions with an estimate of r that can be one too high.
uint32_t latticeValues(uint32_t entries, uint32_t dimensions)
{
    if (dimensions == 0 || entries == 0)
        return 0;
    uint64_t r = uint64_t(std::floor(std::pow(double(entries), 1.0 / dimensions)));
    while (r > 1 && powerUpTo(r, dimensions, entries) > entries)
        --r;
    while (powerUpTo(r + 1, dimensions, entries) <= entries)
        ++r;
    if (powerUpTo(r + 2, dimensions, INT_MAX) > INT_MAX)
        return 0;
    return uint32_t(r);
}

// Walks the setup header's codebooks, which come first in it, and stops after the last one.
bool setupCodebooksAreBounded(const std::vector<uint8_t>& setup)
{
    static const uint8_t signature[7] = {5, 'v', 'o', 'r', 'b', 'i', 's'};
    if (setup.size() < sizeof signature || !std::equal(signature, signature + sizeof signature, setup.begin()))
        return false;
    PacketBits bits(setup, sizeof signature);
    uint32_t count = 0;
    if (!bits.read(8, count))
        return false;
    uint64_t entriesInAll = 0, vectorValuesInAll = 0;
    for (uint32_t book = 0; book <= count; ++book) {
        uint32_t sync = 0, dimensions = 0, entries = 0, lookupType = 0;
        if (!bits.read(24, sync) || sync != 0x564342 || !bits.read(16, dimensions) || !bits.read(24, entries))
            return false;
        entriesInAll += entries;
        if (entriesInAll > maxCodebookEntriesInAll || !skipCodewordLengths(bits, entries) ||
            !bits.read(4, lookupType) || lookupType > 2)
            return false;
        if (lookupType == 0)
            continue;
        vectorValuesInAll += uint64_t(entries) * dimensions;
        uint32_t valueBits = 0, sequence = 0;
        // The minimum and the step, two packed floats, then the values' width.
        if (vectorValuesInAll > maxLookupVectorValuesInAll || !bits.skip(64) || !bits.read(4, valueBits) ||
            !bits.read(1, sequence))
            return false;
        const uint64_t values = lookupType == 1 ? latticeValues(entries, dimensions) : uint64_t(entries) * dimensions;
        if (values == 0 || !bits.skip(values * (valueBits + 1)))
            return false;
    }
    return true;
}

}

bool vorbisHeadersAreBounded(const uint8_t* data, size_t size)
{
    std::vector<std::vector<uint8_t>> packets;
    return firstPackets(data, size, 3, packets) && commentHeaderIsBounded(packets[1]) &&
           setupCodebooksAreBounded(packets[2]);
}
