#include "vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace soundtrack {

namespace {

// Owns the encoder's structures and clears them in the reverse order of their setup.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysisReady = false;
    bool streamReady = false;

    Encoder()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder()
    {
        if (streamReady) {
            ogg_stream_clear(&stream);
        }
        if (analysisReady) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

bool writePage(std::FILE* file, const ogg_page& page)
{
    return std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file) ==
               static_cast<std::size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file) ==
               static_cast<std::size_t>(page.body_len);
}

// Moves every finished packet from the analysis into the stream and every full page to the file.
bool drain(Encoder& encoder, std::FILE* file)
{
    while (vorbis_analysis_blockout(&encoder.dsp, &encoder.block) == 1) {
        vorbis_analysis(&encoder.block, nullptr);
        vorbis_bitrate_addblock(&encoder.block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&encoder.dsp, &packet) == 1) {
            ogg_stream_packetin(&encoder.stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&encoder.stream, &page) != 0) {
                if (!writePage(file, page)) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace

bool writeOggVorbis(const std::string& path, const StereoBuffer& programme, const VorbisSettings& settings,
                    std::string& error)
{
    Encoder encoder;
    if (vorbis_encode_init_vbr(&encoder.info, 2, sampleRate, settings.quality) != 0) {
        error = "the Vorbis encoder refused 2 channels at 44100 Hz, quality " + std::to_string(settings.quality);
        return false;
    }
    vorbis_comment_add_tag(&encoder.comment, "TITLE", "demooooooo");
    vorbis_analysis_init(&encoder.dsp, &encoder.info);
    vorbis_block_init(&encoder.dsp, &encoder.block);
    encoder.analysisReady = true;
    ogg_stream_init(&encoder.stream, settings.serialNumber);
    encoder.streamReady = true;

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        error = "cannot open " + path + " for writing";
        return false;
    }

    // The three header packets, each forced onto pages of their own as the format expects.
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&encoder.stream, &identification);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&encoder.stream, &page) != 0) {
        if (!writePage(file.get(), page)) {
            error = "cannot write " + path;
            return false;
        }
    }

    constexpr std::size_t chunk = 4096;
    for (std::size_t first = 0; first < programme.frames(); first += chunk) {
        const std::size_t count = std::min(chunk, programme.frames() - first);
        float** buffer = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
        std::copy_n(programme.left.begin() + static_cast<std::ptrdiff_t>(first), count, buffer[0]);
        std::copy_n(programme.right.begin() + static_cast<std::ptrdiff_t>(first), count, buffer[1]);
        vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
        if (!drain(encoder, file.get())) {
            error = "cannot write " + path;
            return false;
        }
    }
    // Zero samples written marks the end of the stream; the last pages follow.
    vorbis_analysis_wrote(&encoder.dsp, 0);
    if (!drain(encoder, file.get())) {
        error = "cannot write " + path;
        return false;
    }
    while (ogg_stream_flush(&encoder.stream, &page) != 0) {
        if (!writePage(file.get(), page)) {
            error = "cannot write " + path;
            return false;
        }
    }
    if (std::fflush(file.get()) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace soundtrack
