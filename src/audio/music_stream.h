#pragma once
// The soundtrack as a stream: the compressed file in memory, its decoder, and the ring of two
// halves that the wave-out device loops over while the feeder refills the half it has left.
#include <cstddef>
#include <cstdint>

struct stb_vorbis;

// The ring: interleaved stereo 32-bit floats, left sample first. A mono file plays on the left
// with silence on the right.
constexpr uint32_t ringChannels = 2;
constexpr uint32_t ringHalfFrames = 0x4000;
constexpr uint32_t ringFrames = 2 * ringHalfFrames;
constexpr uint32_t ringHalfFloats = ringHalfFrames * ringChannels;
constexpr uint32_t ringBytes = ringFrames * ringChannels * sizeof(float);
static_assert(ringBytes == 0x40000, "the ring is 256 KiB");

// What a file may hold to be played: one or two channels (Vorbis orders three or more as left,
// centre, right, ..., so taking the first two of them would not be stereo), at a rate the
// devices take. Above the top rate the feeder's poll interval falls under a millisecond and the
// device's byte rate heads for overflow; below the bottom one nothing plays it.
constexpr uint32_t maxMusicChannels = ringChannels;
constexpr uint32_t minMusicSampleRate = 8000;
constexpr uint32_t maxMusicSampleRate = 192000;

bool isPlayableMusicFormat(uint32_t channels, uint32_t sampleRate);

struct MusicStream {
    uint8_t* fileData = nullptr;  // the whole file; the decoder reads from it while it is open
    size_t fileSize = 0;
    stb_vorbis* decoder = nullptr;
    uint32_t sampleRate = 0;  // frames per second
    float* ring = nullptr;    // ringFrames stereo frames: half 0 first, then half 1
};

// Reads the whole file, opens the decoder on it, allocates the ring and prefills half 0 with the
// first 16384 frames. False when the file cannot be read, holds no Ogg Vorbis stream, or its
// format is not playable (isPlayableMusicFormat); nothing is kept then.
bool openMusicStream(MusicStream& stream, const char* path);

// The same on a file already in memory. The stream takes `data` (from malloc) either way: it is
// kept on success and freed on failure.
bool openMusicStreamInMemory(MusicStream& stream, uint8_t* data, size_t size);

// Frees everything the stream holds, closing the decoder if it is still open. Only for a stream
// no device plays any more.
void freeMusicStream(MusicStream& stream);

// Decodes the next 16384 frames into half 0 or 1 of the ring and sets the rest of that half,
// after the track's last frame, to exact silence. Returns the frames decoded (0, all silence,
// once the decoder is closed).
uint32_t fillRingHalf(MusicStream& stream, uint32_t half);

// Moves the stream to `frame` of the track (at the track's own rate) and fills the whole ring
// from there: half 0 with the 16384 frames from `frame` on, half 1 with the next ones. A decoder
// closed at the track's end is opened again on the file data first. At or past the track's end,
// or where the file does not seek, the decoder is closed and the ring is silence. Only while no
// device plays the ring.
void seekMusicStream(MusicStream& stream, uint32_t frame);

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
// milliseconds (185 at 44,100 Hz, 170 at 48,000 Hz), and never under 1 ms, so that a feeder
// never spins whatever rate it is given. The rate is not 0.
uint32_t feederSleepMilliseconds(uint32_t sampleRate);
