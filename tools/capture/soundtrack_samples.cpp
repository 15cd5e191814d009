#include "soundtrack_samples.h"

#include "audio/vorbis_decoder.h"
#include "core/load_whole_file.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

bool decodeSoundtrack(const char* path, DecodedSound& sound, std::string& error)
{
    size_t size = 0;
    uint8_t* data = loadWholeFile(path, &size);
    if (!data || size > size_t(INT_MAX)) {
        std::free(data);
        error = std::string("cannot read the soundtrack ") + path;
        return false;
    }
    int status = 0;
    stb_vorbis* decoder = stb_vorbis_open_memory(data, int(size), &status, nullptr);
    if (!decoder) {
        std::free(data);
        error = std::string("the soundtrack ") + path + " is not Ogg Vorbis";
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(decoder);
    sound.sampleRate = info.sample_rate;
    sound.channels = uint32_t(info.channels);
    sound.samples.clear();
    if (sound.channels == 0 || sound.channels > 8 || sound.sampleRate == 0) {
        stb_vorbis_close(decoder);
        std::free(data);
        error = std::string("the soundtrack ") + path + " has no playable channel layout";
        return false;
    }
    std::vector<float> block(4096 * size_t(sound.channels));
    for (;;) {
        const int frames =
            stb_vorbis_get_samples_float_interleaved(decoder, int(sound.channels), block.data(), int(block.size()));
        if (frames <= 0)
            break;
        sound.samples.insert(sound.samples.end(), block.begin(), block.begin() + frames * int(sound.channels));
    }
    stb_vorbis_close(decoder);
    std::free(data);
    return true;
}

std::vector<float> soundtrackStretch(const DecodedSound& sound, uint64_t first, uint64_t count)
{
    const uint64_t channels = sound.channels;
    std::vector<float> stretch(count * channels, 0.0f);
    const uint64_t available = sound.samples.size() / std::max<uint64_t>(channels, 1);
    if (first < available) {
        const uint64_t taken = std::min(count, available - first);
        std::copy_n(sound.samples.begin() + std::ptrdiff_t(first * channels), taken * channels, stretch.begin());
    }
    return stretch;
}
