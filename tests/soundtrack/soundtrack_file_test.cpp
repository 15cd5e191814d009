// The generated "demooooooo.ogg" in the runnable folder, opened as the show opens it (whole file
// in memory, stb_vorbis, two float channels), and measured with ffmpeg's own EBU R128 meter (its
// ebur128 filter): a second opinion beside the libebur128 the mastering aims with.
#include "core/load_whole_file.h"
#include "stb_vorbis_decls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* musicFile = "demooooooo.ogg";

struct DecodedMusic {
    bool opened = false;
    unsigned sampleRate = 0;
    int channels = 0;
    std::vector<float> samples;  // interleaved stereo
    std::size_t frames() const { return samples.size() / 2; }
};

// Decoded once for all the cases of this program.
const DecodedMusic& music()
{
    static const DecodedMusic decoded = [] {
        DecodedMusic result;
        std::size_t size = 0;
        std::uint8_t* bytes = loadWholeFile(musicFile, &size);
        if (!bytes) {
            return result;
        }
        stb_vorbis* decoder = stb_vorbis_open_memory(bytes, static_cast<int>(size), nullptr, nullptr);
        if (decoder) {
            const stb_vorbis_info info = stb_vorbis_get_info(decoder);
            result.opened = true;
            result.sampleRate = info.sample_rate;
            result.channels = info.channels;
            // The show's own read size: one half of its ring, 0x8000 floats.
            std::vector<float> half(0x8000);
            for (;;) {
                const int frames = stb_vorbis_get_samples_float_interleaved(decoder, 2, half.data(), 0x8000);
                if (frames <= 0) {
                    break;
                }
                result.samples.insert(result.samples.end(), half.begin(), half.begin() + 2 * frames);
            }
            stb_vorbis_close(decoder);
        }
        std::free(bytes);
        return result;
    }();
    return decoded;
}

double rmsDecibels(const DecodedMusic& m, double from, double to)
{
    const std::size_t first = static_cast<std::size_t>(from * m.sampleRate) * 2;
    const std::size_t last = std::min(m.samples.size(), static_cast<std::size_t>(to * m.sampleRate) * 2);
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        sum += static_cast<double>(m.samples[i]) * m.samples[i];
    }
    return 10.0 * std::log10(sum / static_cast<double>(last - first) + 1e-30);
}

// Runs ffmpeg's ebur128 filter on the file and returns its summary text ("" if it fails).
std::string ebur128Summary()
{
    const std::string command = std::string("ffmpeg -nostdin -nostats -hide_banner -i ") + musicFile +
                                " -filter_complex ebur128=peak=true -f null - 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return "";
    }
    std::string output;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        output += line;
    }
    if (pclose(pipe) != 0) {
        return "";
    }
    const std::size_t summary = output.rfind("Summary:");
    return summary == std::string::npos ? "" : output.substr(summary);
}

// The number after `label` found after `section` in the summary; NaN when missing.
double summaryValue(const std::string& summary, const std::string& section, const std::string& label)
{
    const std::size_t at = summary.find(section);
    if (at == std::string::npos) {
        return std::nan("");
    }
    const std::size_t value = summary.find(label, at);
    if (value == std::string::npos) {
        return std::nan("");
    }
    return std::strtod(summary.c_str() + value + label.size(), nullptr);
}

}  // namespace

TEST(SoundtrackFile, OpensAsTheShowOpensItAt44100HzStereoFor116Seconds)
{
    const DecodedMusic& m = music();
    ASSERT_TRUE(m.opened) << musicFile << " is missing or not Ogg Vorbis";
    EXPECT_EQ(m.sampleRate, 44100u);
    EXPECT_EQ(m.channels, 2);
    const double seconds = static_cast<double>(m.frames()) / m.sampleRate;
    EXPECT_NEAR(seconds, 116.0, 0.5);
}

TEST(SoundtrackFile, NoSampleClipsAndNoOffset)
{
    const DecodedMusic& m = music();
    ASSERT_TRUE(m.opened);
    float peak = 0.0f;
    double sum[2] = {0.0, 0.0};
    for (std::size_t i = 0; i < m.samples.size(); ++i) {
        peak = std::max(peak, std::abs(m.samples[i]));
        sum[i % 2] += m.samples[i];
    }
    EXPECT_LT(peak, 0.99f) << "a decoded sample reaches full scale";
    EXPECT_NEAR(sum[0] / m.frames(), 0.0, 1e-3) << "DC offset on the left";
    EXPECT_NEAR(sum[1] / m.frames(), 0.0, 1e-3) << "DC offset on the right";
}

TEST(SoundtrackFile, RisesFromSilenceAndDiesAwayToSilence)
{
    const DecodedMusic& m = music();
    ASSERT_TRUE(m.opened);
    EXPECT_LT(rmsDecibels(m, 0.0, 0.1), -70.0) << "the show opens on black: the music must too";
    const double seconds = static_cast<double>(m.frames()) / m.sampleRate;
    EXPECT_LT(rmsDecibels(m, seconds - 0.1, seconds), -70.0) << "the last chord has not died away";
}

TEST(SoundtrackFile, LoudnessFollowsThePicture)
{
    const DecodedMusic& m = music();
    ASSERT_TRUE(m.opened);
    const double fadeIn = rmsDecibels(m, 2.0, 6.0);
    const double tunnel = rmsDecibels(m, 18.0, 24.0);
    const double flash = rmsDecibels(m, 25.0, 27.0);
    const double credits = rmsDecibels(m, 37.0, 53.0);
    const double fireworks = rmsDecibels(m, 66.0, 78.0);
    const double lastModels = rmsDecibels(m, 104.0, 112.0);
    EXPECT_LT(fadeIn, tunnel - 10.0) << "the opening does not fade up";
    EXPECT_GT(flash, tunnel) << "no impact on the flash";
    EXPECT_GT(fireworks, credits) << "the fireworks are not the peak";
    EXPECT_LT(lastModels, fireworks - 6.0) << "the carousel does not thin out";
}

TEST(SoundtrackFile, MeetsTheLoudnessTargetWithTruePeakHeadroom)
{
    const std::string summary = ebur128Summary();
    ASSERT_FALSE(summary.empty()) << "ffmpeg's ebur128 filter did not run on " << musicFile;
    const double integrated = summaryValue(summary, "Integrated loudness:", "I:");
    const double truePeak = summaryValue(summary, "True peak:", "Peak:");
    ASSERT_FALSE(std::isnan(integrated)) << summary;
    ASSERT_FALSE(std::isnan(truePeak)) << summary;
    EXPECT_NEAR(integrated, -14.0, 0.5) << "integrated loudness, LUFS";
    EXPECT_LE(truePeak, -1.0) << "true peak, dBTP";
}
