#pragma once
// A check of an Ogg Vorbis file made before the decoder sees it. stb_vorbis takes the lengths in
// the comment header (the vendor string's, the comment count, each comment's) as they stand and
// allocates and reads that many bytes, whatever the packet holds: a few corrupt bytes there ask
// for gigabytes, or for a negative size. This walks the Ogg pages to the comment header and
// refuses a file whose header is cut short or whose lengths run past the packet's end.
#include <cstddef>
#include <cstdint>

// True when the file's first two Ogg packets are complete and every length in the second (the
// comment header) stays inside it; then no length the decoder reads there exceeds the file's
// size. The decoder checks everything else itself.
bool vorbisCommentHeaderIsBounded(const uint8_t* data, size_t size);
