// libFuzzer target: any byte string through the music's own open path (decoder open, format
// check, the ring's prefill) and then the feeder's refills for a few passes, as the device would
// ask for them.
#include "audio/music_stream.h"

#include <cstdlib>
#include <cstring>

namespace {

// The first poll fills half 1 and the next refills half 0: decoding goes on past the prefill
// from a state the decoder left, while each input stays quick.
constexpr uint32_t refills = 2;

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The stream takes a buffer of its own, from malloc, as it does from the file loader.
    auto* copy = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (!copy)
        return 0;
    if (size)
        std::memcpy(copy, data, size);
    MusicStream stream;
    if (!openMusicStreamInMemory(stream, copy, size))
        return 0;
    if (!stream.decoder || !stream.ring || stream.sampleRate < minMusicSampleRate ||
        stream.sampleRate > maxMusicSampleRate || feederSleepMilliseconds(stream.sampleRate) < 1)
        std::abort();

    FeederState state;
    uint32_t position = 0;
    for (uint32_t i = 0; i < refills; ++i) {
        if (pollFeeder(stream, state, position) == FeederPoll::TrackEnded)
            break;
        position += ringHalfFrames;
    }
    // Touch the ring's last sample: the device reads all of it.
    volatile float last = stream.ring[ringFrames * ringChannels - 1];
    (void)last;
    freeMusicStream(stream);
    return 0;
}
