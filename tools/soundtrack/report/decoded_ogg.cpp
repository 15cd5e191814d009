#include "decoded_ogg.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>

namespace soundtrack {

namespace {

const char* openError(int code)
{
    switch (code) {
    case OV_ENOTVORBIS: return "is not Ogg Vorbis";
    case OV_EBADHEADER: return "has a corrupt Vorbis header";
    case OV_EVERSION: return "has an unknown Vorbis version";
    case OV_EREAD: return "could not be read";
    default: return "could not be opened as Ogg Vorbis";
    }
}

}  // namespace

bool decodeOggVorbis(const std::string& path, DecodedOgg& decoded, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": no such file or not readable";
        return false;
    }
    OggVorbis_File vorbis;
    // On success the decoder owns the file and closes it in ov_clear; on failure it is ours.
    const int opened = ov_open_callbacks(file, &vorbis, nullptr, 0, OV_CALLBACKS_DEFAULT);
    if (opened != 0) {
        std::fclose(file);
        error = path + " " + openError(opened);
        return false;
    }
    const vorbis_info* info = ov_info(&vorbis, -1);
    if (!info || info->channels < 1 || info->channels > 2) {
        ov_clear(&vorbis);
        error = path + ": only mono and stereo files are measured";
        return false;
    }
    decoded.rateHz = static_cast<int>(info->rate);
    const int channels = info->channels;
    StereoBuffer& out = decoded.programme;
    out = StereoBuffer();
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long frames = ov_read_float(&vorbis, &pcm, 4096, &section);
        if (frames == 0) {
            break;
        }
        if (frames < 0) {
            ov_clear(&vorbis);
            error = path + ": the audio data is corrupt or cut short";
            return false;
        }
        for (long i = 0; i < frames; ++i) {
            out.left.push_back(pcm[0][i]);
            out.right.push_back(pcm[channels - 1][i]);
        }
    }
    ov_clear(&vorbis);
    if (out.frames() == 0) {
        error = path + ": holds no audio";
        return false;
    }
    return true;
}

}  // namespace soundtrack
