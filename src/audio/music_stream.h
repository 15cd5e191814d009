#pragma once
// The soundtrack as a stream: the compressed file in memory, its decoder, and the ring of two
// halves that the wave-out device loops over while the feeder refills the half it has left.
#include <cstddef>
#include <cstdint>

struct stb_vorbis;

// The ring: interleaved stereo 32-bit floats, left sample first, whatever the file holds (a mono
// file plays on the left with silence on the right; channels past the second are dropped).
constexpr uint32_t ringChannels = 2;
constexpr uint32_t ringHalfFrames = 0x4000;
constexpr uint32_t ringFrames = 2 * ringHalfFrames;
constexpr uint32_t ringHalfFloats = ringHalfFrames * ringChannels;
constexpr uint32_t ringBytes = ringFrames * ringChannels * sizeof(float);
static_assert(ringBytes == 0x40000, "the ring is 256 KiB");

struct MusicStream {
    uint8_t* fileData = nullptr; // the whole file; the decoder reads from it while it is open
    size_t fileSize = 0;
    stb_vorbis* decoder = nullptr;
    uint32_t sampleRate = 0; // frames per second
    float* ring = nullptr;   // ringFrames stereo frames: half 0 first, then half 1
};

// Reads the whole file, opens the decoder on it, allocates the ring and prefills half 0 with the
// first 16384 frames. False when the file cannot be read or holds no Ogg Vorbis stream; nothing
// is kept then.
bool openMusicStream(MusicStream& stream, const char* path);

// Decodes the next 16384 frames into half 0 or 1 of the ring and sets the rest of that half,
// after the track's last frame, to exact silence. Returns the frames decoded.
uint32_t fillRingHalf(MusicStream& stream, uint32_t half);

// Closes the decoder; the file data and the ring stay, since the device may still be playing.
void closeMusicDecoder(MusicStream& stream);

// What the feeder remembers between two polls of the device position.
struct FeederState {
    // The half most recently seen playing. It starts as 1, so the first poll, made while the
    // device is still paused at frame 0, fills half 1.
    uint32_t lastHalf = 1;
};

enum class FeederPoll { KeepPolling, TrackEnded };

// One poll of the feeder at the device's position in frames (counting loops). When the device
// has crossed into the other half since the last poll, the half it left is refilled with the
// next 16384 frames. TrackEnded once the track ran out in a refill of half 1 made while half 0
// plays: everything decoded is then in the ring, followed by silence to the ring's end.
FeederPoll pollFeeder(MusicStream& stream, FeederState& state, uint32_t position);

// The feeder's sleep between polls: half the playing time of one half of the ring, in whole
// milliseconds (185 at 44,100 Hz, 170 at 48,000 Hz).
uint32_t feederSleepMilliseconds(uint32_t sampleRate);
