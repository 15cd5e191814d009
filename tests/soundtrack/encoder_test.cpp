// The encoder: a real Ogg Vorbis stream that stb_vorbis decodes back to what went in, the
// same bytes on every run, and a clear error when the file cannot be written. The WAV writer
// alongside.
#include "stb_vorbis_decls.h"
#include "vorbis_writer.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

using namespace soundtrack;

namespace {

// 440 Hz on the left, 660 Hz on the right, so a swap of the channels shows.
StereoBuffer twoTones(double seconds)
{
    StereoBuffer b(secondsToFrames(seconds));
    for (std::size_t n = 0; n < b.frames(); ++n) {
        const double fade = std::min(1.0, std::min(n, b.frames() - n) / 441.0);
        b.left[n] = static_cast<float>(0.5 * fade * std::sin(twoPi * 440.0 * n / sampleRate));
        b.right[n] = static_cast<float>(0.5 * fade * std::sin(twoPi * 660.0 * n / sampleRate));
    }
    return b;
}

std::vector<char> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double correlation(const std::vector<float>& a, const float* b, std::size_t stride, std::size_t frames)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (std::size_t n = 0; n < frames; ++n) {
        ab += a[n] * b[n * stride];
        aa += a[n] * a[n];
        bb += b[n * stride] * b[n * stride];
    }
    return ab / std::sqrt(aa * bb);
}

}  // namespace

TEST(SoundtrackEncoder, WritesAStreamThatDecodesToTheSameSound)
{
    const StereoBuffer input = twoTones(2.0);
    const std::string path = "soundtrack_encoder_test.ogg";
    std::string error;
    ASSERT_TRUE(writeOggVorbis(path, input, VorbisSettings{}, error)) << error;

    int decoderError = 0;
    stb_vorbis* decoder = stb_vorbis_open_filename(path.c_str(), &decoderError, nullptr);
    ASSERT_NE(decoder, nullptr) << "stb_vorbis error " << decoderError;
    const stb_vorbis_info info = stb_vorbis_get_info(decoder);
    std::vector<float> decoded(input.frames() * 2 + 8192);
    const int frames =
        stb_vorbis_get_samples_float_interleaved(decoder, 2, decoded.data(), static_cast<int>(decoded.size()));
    stb_vorbis_close(decoder);

    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.sample_rate, 44100u);
    EXPECT_EQ(static_cast<std::size_t>(frames), input.frames());
    EXPECT_GT(correlation(input.left, decoded.data(), 2, input.frames()), 0.99);
    EXPECT_GT(correlation(input.right, decoded.data() + 1, 2, input.frames()), 0.99);
    std::remove(path.c_str());
}

TEST(SoundtrackEncoder, SameSamplesGiveTheSameBytes)
{
    const StereoBuffer input = twoTones(1.0);
    std::string error;
    ASSERT_TRUE(writeOggVorbis("soundtrack_encoder_a.ogg", input, VorbisSettings{}, error)) << error;
    ASSERT_TRUE(writeOggVorbis("soundtrack_encoder_b.ogg", input, VorbisSettings{}, error)) << error;
    const std::vector<char> a = bytesOf("soundtrack_encoder_a.ogg");
    EXPECT_GT(a.size(), 1000u);
    EXPECT_EQ(a, bytesOf("soundtrack_encoder_b.ogg"));
    std::remove("soundtrack_encoder_a.ogg");
    std::remove("soundtrack_encoder_b.ogg");
}

TEST(SoundtrackEncoder, UnwritablePathsFailWithTheirName)
{
    const StereoBuffer input = twoTones(0.1);
    std::string error;
    EXPECT_FALSE(writeOggVorbis("no-such-folder/x.ogg", input, VorbisSettings{}, error));
    EXPECT_NE(error.find("no-such-folder/x.ogg"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(writeWav("no-such-folder/x.wav", input, error));
    EXPECT_NE(error.find("no-such-folder/x.wav"), std::string::npos) << error;
}

TEST(SoundtrackEncoder, WavHeaderAndSamplesAreRight)
{
    StereoBuffer input(3);
    input.left = {0.0f, 0.5f, 2.0f};  // the last one beyond full scale: clamped
    input.right = {0.0f, -0.5f, -2.0f};
    std::string error;
    ASSERT_TRUE(writeWav("soundtrack_test.wav", input, error)) << error;
    const std::vector<char> bytes = bytesOf("soundtrack_test.wav");
    ASSERT_EQ(bytes.size(), 44u + 3 * 4);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
    const auto u16 = [&](std::size_t at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at]) |
                                (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    const auto s16 = [&](std::size_t at) { return static_cast<int>(static_cast<std::int16_t>(u16(at))); };
    EXPECT_EQ(u16(22), 2);                        // channels
    EXPECT_EQ(u16(24) | (u16(26) << 16), 44100);  // sample rate
    EXPECT_EQ(u16(34), 16);                       // bits per sample
    EXPECT_NEAR(s16(44 + 4), 16384, 2);           // 0.5 on the left
    EXPECT_NEAR(s16(44 + 6), -16384, 2);          // -0.5 on the right
    EXPECT_EQ(s16(44 + 8), 32767);
    EXPECT_EQ(s16(44 + 10), -32767);
    std::remove("soundtrack_test.wav");
}
