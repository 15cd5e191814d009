#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace soundtrack {

namespace {

void putLittleEndian(std::vector<unsigned char>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
    }
}

void putTag(std::vector<unsigned char>& bytes, const char* tag)
{
    bytes.insert(bytes.end(), tag, tag + 4);
}

}  // namespace

bool writeWav(const std::string& path, const StereoBuffer& programme, std::string& error)
{
    constexpr std::uint32_t channels = 2, bytesPerSample = 2;
    const std::uint64_t dataBytes = static_cast<std::uint64_t>(programme.frames()) * channels * bytesPerSample;
    if (dataBytes > 0xFFFFFFFFull - 36) {
        error = "the programme is too long for a WAV file";
        return false;
    }
    std::vector<unsigned char> bytes;
    bytes.reserve(44 + dataBytes);
    putTag(bytes, "RIFF");
    putLittleEndian(bytes, static_cast<std::uint32_t>(36 + dataBytes), 4);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    putLittleEndian(bytes, 16, 4);
    putLittleEndian(bytes, 1, 2);  // integer PCM
    putLittleEndian(bytes, channels, 2);
    putLittleEndian(bytes, sampleRate, 4);
    putLittleEndian(bytes, sampleRate * channels * bytesPerSample, 4);
    putLittleEndian(bytes, channels * bytesPerSample, 2);
    putLittleEndian(bytes, 8 * bytesPerSample, 2);
    putTag(bytes, "data");
    putLittleEndian(bytes, static_cast<std::uint32_t>(dataBytes), 4);

    Random dither(7928);
    for (std::size_t n = 0; n < programme.frames(); ++n) {
        for (float sample : {programme.left[n], programme.right[n]}) {
            const double noise = (dither.unit() - dither.unit()) / 32767.0;
            const double value = std::clamp(static_cast<double>(sample) + noise, -1.0, 1.0);
            const auto pcm = static_cast<std::int16_t>(std::lround(value * 32767.0));
            putLittleEndian(bytes, static_cast<std::uint16_t>(pcm), 2);
        }
    }

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace soundtrack
