#include "audio/music_stream.h"

#include "audio/vorbis_decoder.h"
#include "audio/vorbis_header_check.h"
#include "core/load_whole_file.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

bool isPlayableMusicFormat(uint32_t channels, uint32_t sampleRate)
{
    return channels >= 1 && channels <= maxMusicChannels && sampleRate >= minMusicSampleRate &&
           sampleRate <= maxMusicSampleRate;
}

bool openMusicStream(MusicStream& stream, const char* path)
{
    size_t size = 0;
    uint8_t* data = loadWholeFile(path, &size);
    return data && openMusicStreamInMemory(stream, data, size);
}

bool openMusicStreamInMemory(MusicStream& stream, uint8_t* data, size_t size)
{
    // The decoder takes the length as an int, and trusts the sizes its headers state.
    stb_vorbis* decoder = nullptr;
    if (size <= static_cast<size_t>(INT_MAX) && vorbisHeadersAreBounded(data, size))
        decoder = stb_vorbis_open_memory(data, static_cast<int>(size), nullptr, nullptr);
    if (decoder) {
        const stb_vorbis_info info = stb_vorbis_get_info(decoder);
        if (info.channels < 0 || !isPlayableMusicFormat(static_cast<uint32_t>(info.channels), info.sample_rate)) {
            stb_vorbis_close(decoder);
            decoder = nullptr;
        }
    }
    // Zeroed, so that whatever the device may ever reach before the feeder writes it is silence.
    auto* ring = decoder ? static_cast<float*>(std::calloc(ringFrames * ringChannels, sizeof(float))) : nullptr;
    if (!ring) {
        if (decoder)
            stb_vorbis_close(decoder);
        std::free(data);
        return false;
    }

    stream.fileData = data;
    stream.fileSize = size;
    stream.decoder = decoder;
    stream.sampleRate = stb_vorbis_get_info(decoder).sample_rate;
    stream.ring = ring;
    fillRingHalf(stream, 0);
    return true;
}

void freeMusicStream(MusicStream& stream)
{
    if (stream.decoder)
        closeMusicDecoder(stream);
    std::free(stream.ring);
    std::free(stream.fileData);
    stream = MusicStream();
}

uint32_t fillRingHalf(MusicStream& stream, uint32_t half)
{
    float* start = stream.ring + half * ringHalfFloats;
    const int decoded = stream.decoder ? stb_vorbis_get_samples_float_interleaved(stream.decoder, ringChannels, start,
                                                                                  static_cast<int>(ringHalfFloats))
                                       : 0;
    const uint32_t frames = decoded > 0 ? static_cast<uint32_t>(decoded) : 0;
    std::fill(start + frames * ringChannels, start + ringHalfFloats, 0.0f);
    return frames;
}

void closeMusicDecoder(MusicStream& stream)
{
    if (stream.decoder)
        stb_vorbis_close(stream.decoder);
    stream.decoder = nullptr;
}

void seekMusicStream(MusicStream& stream, uint32_t frame)
{
    // The file was checked when the stream opened; only its bytes are needed to open it again.
    if (!stream.decoder && stream.fileData)
        stream.decoder = stb_vorbis_open_memory(stream.fileData, static_cast<int>(stream.fileSize), nullptr, nullptr);
    // The decoder's own seek asserts on a target past the last page: ask for the length first.
    if (stream.decoder &&
        (frame >= stb_vorbis_stream_length_in_samples(stream.decoder) || !stb_vorbis_seek(stream.decoder, frame)))
        closeMusicDecoder(stream);
    fillRingHalf(stream, 0);
    fillRingHalf(stream, 1);
}

FeederPoll pollFeeder(MusicStream& stream, FeederState& state, uint32_t position)
{
    const uint32_t playing = (position >> 14) % 2;
    FeederPoll result = FeederPoll::KeepPolling;
    if (playing != state.lastHalf) {
        const uint32_t frames = fillRingHalf(stream, state.lastHalf);
        // A short refill of half 0 is followed by one more of half 1, which the decoder leaves
        // all silence; only then is the whole track, and nothing after it, in the ring.
        if (frames < ringHalfFrames && playing == 0)
            result = FeederPoll::TrackEnded;
    }
    state.lastHalf = playing;
    return result;
}

uint32_t feederSleepMilliseconds(uint32_t sampleRate)
{
    // 8192000 / rate ms is 8192 frames: half of one half of the ring. Above 8,192,000 Hz that is
    // under a millisecond, which would make the sleep 0 and the feeder a busy loop.
    return std::max(8192000u / sampleRate, 1u);
}
