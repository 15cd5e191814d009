#include "audio/vorbis_header_check.h"

#include <vector>

namespace {

constexpr size_t pageHeaderBytes = 27;

uint32_t readLittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
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
    packets.pop_back(); // the one begun after the last wanted
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

}

bool vorbisCommentHeaderIsBounded(const uint8_t* data, size_t size)
{
    std::vector<std::vector<uint8_t>> packets;
    if (!firstPackets(data, size, 2, packets))
        return false;
    const std::vector<uint8_t>& comments = packets[1];
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
