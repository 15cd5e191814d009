#include "audio/ogg_test_files.h"

#include "audio/vorbis_decoder.h"
#include "core/load_whole_file.h"

#include <vorbis/vorbisenc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unistd.h>

std::vector<float> makeTestSignal(uint32_t frames, uint32_t channels, uint32_t sampleRate)
{
    const double pi = 3.14159265358979323846;
    std::vector<float> samples(size_t(frames) * channels);
    for (uint32_t i = 0; i < frames; ++i) {
        const double ramp = frames > 1 ? double(i) / (frames - 1) : 0.0;
        const double amplitude = 0.1 + 0.7 * ramp;
        for (uint32_t c = 0; c < channels; ++c) {
            const double hertz = 440.0 * (1.0 + 0.5 * c);
            samples[size_t(i) * channels + c] = float(amplitude * std::cos(2.0 * pi * hertz * i / sampleRate));
        }
    }
    return samples;
}

namespace {

bool writePages(std::FILE* file, ogg_stream_state& stream, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, size_t(page.header_len), file) != size_t(page.header_len) ||
            std::fwrite(page.body, 1, size_t(page.body_len), file) != size_t(page.body_len))
            return false;
    }
    return true;
}

}

bool writeOggVorbis(const std::string& path, const std::vector<float>& samples, uint32_t channels, uint32_t sampleRate)
{
    return writeOggVorbisClaimingRate(path, samples, channels, sampleRate, sampleRate);
}

bool writeOggVorbisClaimingRate(const std::string& path, const std::vector<float>& samples, uint32_t channels,
                                uint32_t sampleRate, uint32_t headerRate)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "Could not create %s.\n", path.c_str());
        return false;
    }

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, long(channels), long(sampleRate), 0.5f) != 0) {
        std::fprintf(stderr, "libvorbisenc refused %u channels at %u Hz.\n", channels, sampleRate);
        vorbis_info_clear(&info);
        std::fclose(file);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 7928);

    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    // The identification header: packet type, "vorbis", version (4 bytes), channels (1 byte),
    // then the rate, 4 bytes little-endian. libogg computes the page's checksum afterwards.
    if (identification.bytes >= 16)
        for (int i = 0; i < 4; ++i)
            identification.packet[12 + i] = static_cast<unsigned char>(headerRate >> (8 * i));
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    bool written = writePages(file, stream, true);

    // The samples go in by chunks; an empty chunk marks the end of the stream.
    const size_t frames = samples.size() / channels;
    const size_t chunkFrames = 1024;
    size_t first = 0;
    bool ended = false;
    while (written && !ended) {
        const size_t count = std::min(chunkFrames, frames - first);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);
            ended = true;
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, int(count));
            for (size_t i = 0; i < count; ++i)
                for (uint32_t c = 0; c < channels; ++c)
                    buffer[c][i] = samples[(first + i) * channels + c];
            vorbis_analysis_wrote(&dsp, int(count));
            first += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                written = written && writePages(file, stream, false);
            }
        }
    }
    written = written && writePages(file, stream, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    written = (std::fclose(file) == 0) && written;
    if (!written)
        std::fprintf(stderr, "Could not write %s.\n", path.c_str());
    return written;
}

std::vector<float> decodeOggVorbis(const std::string& path, uint32_t channels)
{
    size_t size = 0;
    std::unique_ptr<uint8_t, decltype(&std::free)> data(loadWholeFile(path.c_str(), &size), std::free);
    if (!data)
        return {};
    stb_vorbis* decoder = stb_vorbis_open_memory(data.get(), int(size), nullptr, nullptr);
    if (!decoder)
        return {};
    // A chunk size unlike the feeder's, so the reference does not depend on how it is asked for.
    std::vector<float> samples;
    std::vector<float> chunk(3000 * channels);
    for (;;) {
        const int frames =
            stb_vorbis_get_samples_float_interleaved(decoder, int(channels), chunk.data(), int(chunk.size()));
        if (frames <= 0)
            break;
        samples.insert(samples.end(), chunk.begin(), chunk.begin() + size_t(frames) * channels);
    }
    stb_vorbis_close(decoder);
    return samples;
}

std::string testFilePath(const std::string& name)
{
    return testing::TempDir() + "music-" + std::to_string(getpid()) + "-" + name;
}

bool isSilentFrom(const std::vector<float>& samples, size_t first)
{
    return std::all_of(samples.begin() + long(std::min(first, samples.size())), samples.end(),
                       [](float sample) { return sample == 0.0f; });
}
