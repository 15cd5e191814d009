// The report's figures against signals whose answers are known: tones laid on the reference
// tilt with one band raised, tones of known loudness, and files that are not Ogg Vorbis.
#include "decoded_ogg.h"
#include "loudness_track.h"
#include "third_octave_bands.h"
#include "vorbis_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace soundtrack;

namespace {

constexpr std::size_t frameSize = 8192;

// One sine per third-octave band from 40 Hz up, each band's level per Hz on the reference
// line, except the 50 Hz band, raised by `raisedDb`.
std::vector<float> tonesOnTheLine(double seconds, double raisedDb)
{
    std::vector<float> mono(secondsToFrames(seconds), 0.0f);
    for (std::size_t b = 2; b < thirdOctaveBandCount; ++b) {
        const double width = bandUpperEdgeHz(b) - bandLowerEdgeHz(b);
        double densityDb = referenceSlopeDbPerOctave * std::log2(bandCentreHz(b) / 1000.0) - 40.0;
        densityDb += bandNominalHz(b) == 50.0 ? raisedDb : 0.0;
        // A sine of amplitude a has mean square a^2 / 2: that over the band's width is its density.
        const double amplitude = std::sqrt(2.0 * width * std::pow(10.0, densityDb / 10.0));
        const double hz = bandCentreHz(b);
        for (std::size_t n = 0; n < mono.size(); ++n) {
            mono[n] += static_cast<float>(amplitude * std::sin(twoPi * hz * static_cast<double>(n) / sampleRate));
        }
    }
    return mono;
}

// A 1 kHz tone in both channels, peak `amplitude` for `seconds`, appended to `programme`.
void appendTone(StereoBuffer& programme, double amplitude, double seconds)
{
    const std::size_t start = programme.frames();
    for (std::size_t n = 0; n < secondsToFrames(seconds); ++n) {
        const auto s =
            static_cast<float>(amplitude * std::sin(twoPi * 1000.0 * static_cast<double>(start + n) / sampleRate));
        programme.left.push_back(s);
        programme.right.push_back(s);
    }
}

}  // namespace

TEST(SoundtrackFigures, SpectrumReadsABandRaisedAboveTheReferenceTilt)
{
    const Spectrogram spectrogram = computeSpectrogram(tonesOnTheLine(4.0, 6.0), sampleRate, frameSize);
    ASSERT_GT(spectrogram.frames.size(), 10u);
    const SpectrumFigures f = analyseSpectrum(meanSpectrum(spectrogram, 0.0, 4.0), sampleRate, frameSize);
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        const double hz = bandNominalHz(b);
        if (hz == 50.0) {
            EXPECT_NEAR(f.deviationDb[b], 6.0, 1.0) << "the raised band";
        } else if (hz >= 100.0 && hz <= 12500.0) {
            EXPECT_NEAR(f.deviationDb[b], 0.0, 0.8) << "the " << hz << " Hz band is on the line";
        }
    }
    EXPECT_EQ(bandNominalHz(f.largestBand), 50.0);
    // Band energy falls 1.5 dB per octave on the line, and the raised band holds four times its
    // share: about half of all lies below 100 Hz.
    EXPECT_GT(f.shareBelow100Hz, 0.45);
    EXPECT_LT(f.shareBelow100Hz, 0.65);
    EXPECT_GT(f.centroidAbove150Hz, 1000.0);
    EXPECT_LT(f.centroidAbove150Hz, 6000.0);
}

TEST(SoundtrackFigures, LoudnessOverTimeReadsTonesOfKnownLevelAndTheFallBetweenThem)
{
    // A full-scale 1 kHz tone reads -3.01 LUFS in one channel, 0 LUFS in both: a tenth of it in
    // both reads -20, 0.316 of it -10.
    StereoBuffer programme;
    appendTone(programme, 0.316228, 10.0);
    appendTone(programme, 0.1, 10.0);
    const LoudnessTrack track = measureLoudnessTrack(programme, sampleRate);
    ASSERT_EQ(track.shortTerm.size(), 200u);
    EXPECT_NEAR(percentile(shortTermBetween(track, 4.0, 10.0), 0.5), -10.0, 0.1);
    EXPECT_NEAR(percentile(shortTermBetween(track, 14.0, 20.0), 0.5), -20.0, 0.1);
    EXPECT_NEAR(integratedLoudnessOf(programme, sampleRate, 10.0, 20.0), -20.0, 0.1);
    EXPECT_NEAR(integratedLoudnessOf(programme, sampleRate, 0.0, 10.0), -10.0, 0.1);
    // The whole 10 LU step falls within the 3 s the short-term window needs to pass it.
    EXPECT_NEAR(steepestFall(track, 4.0, 20.0, 3.0), 10.0, 0.2);
    EXPECT_LT(steepestFall(track, 4.0, 20.0, 1.0), 8.0) << "a shorter reach sees part of the step";
    EXPECT_NEAR(steepestFall(track, 14.0, 20.0, 3.0), 0.0, 0.05) << "a steady tone does not fall";
    EXPECT_NEAR(percentile({1.0, 2.0, 3.0, 4.0}, 0.5), 2.0, 1e-12);
    EXPECT_TRUE(std::isnan(percentile({}, 0.5)));
}

TEST(SoundtrackFigures, DecodesWhatTheEncoderWroteAndNamesTheFileItCannotRead)
{
    const std::string good = "figures_test_tone.ogg", bad = "figures_test_not_ogg.ogg";
    StereoBuffer programme;
    appendTone(programme, 0.1, 2.0);
    std::string error;
    ASSERT_TRUE(writeOggVorbis(good, programme, VorbisSettings{}, error)) << error;
    DecodedOgg decoded;
    ASSERT_TRUE(decodeOggVorbis(good, decoded, error)) << error;
    EXPECT_EQ(decoded.rateHz, sampleRate);
    EXPECT_EQ(decoded.programme.frames(), programme.frames());

    std::FILE* file = std::fopen(bad.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a Vorbis stream", file);
    std::fclose(file);
    for (const std::string& path : {bad, std::string("figures_test_missing.ogg")}) {
        error.clear();
        EXPECT_FALSE(decodeOggVorbis(path, decoded, error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    std::remove(good.c_str());
    std::remove(bad.c_str());
}
