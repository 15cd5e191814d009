#pragma once
// A check of an Ogg Vorbis file made before the decoder sees it, for the sizes the decoder takes
// on trust:
//   - the comment header's lengths (the vendor string's, the comment count, each comment's): the
//     decoder allocates and reads that many bytes, whatever the packet holds, so a few corrupt
//     bytes there ask for gigabytes, or for a negative size;
//   - the setup header's codebooks: a codebook in the "ordered" form states up to 16,777,215
//     entries in a few bytes, and the decoder builds tables of every entry of every codebook, so a
//     file of 3 KB can ask for gigabytes and minutes of work; a lookup table's size is worked
//     out in int arithmetic that overflows for large dimensions, and so is the mask of a
//     31-bit codeword.
// This walks the Ogg pages to the setup header and refuses a file whose headers are cut short,
// whose lengths run past their packet, or whose codebooks exceed what any encoder writes by a
// wide margin.
#include <cstddef>
#include <cstdint>

// Codebook entries in all of a file's codebooks together. libvorbis writes up to about 20,000.
constexpr uint32_t maxCodebookEntriesInAll = 1u << 20;
// Entries times dimensions, over the codebooks with a lookup table: the vectors the decoder
// expands. libvorbis writes up to about 90,000.
constexpr uint32_t maxLookupVectorValuesInAll = 1u << 20;

// True when the file's three header packets are complete, every length in the comment header
// stays inside it, and the setup header's codebooks stay inside their packet and the limits
// above. The decoder checks everything else itself.
bool vorbisHeadersAreBounded(const uint8_t* data, size_t size);
