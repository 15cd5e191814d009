#include "programme_figures.h"

#include "score.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

// 8192 samples: 5.4 Hz bins at 44.1 kHz, fine enough to split the 25 Hz and 31.5 Hz bands.
constexpr std::size_t spectrumFrameSize = 8192;

double truePeakOf(const StereoBuffer& programme, int rateHz)
{
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(rateHz), EBUR128_MODE_TRUE_PEAK);
    if (!meter) {
        return std::nan("");
    }
    std::vector<float> frames;
    frames.reserve(2 * programme.frames());
    for (std::size_t n = 0; n < programme.frames(); ++n) {
        frames.push_back(programme.left[n]);
        frames.push_back(programme.right[n]);
    }
    ebur128_add_frames_float(meter, frames.data(), programme.frames());
    double left = 0.0, right = 0.0;
    ebur128_true_peak(meter, 0, &left);
    ebur128_true_peak(meter, 1, &right);
    ebur128_destroy(&meter);
    return 20.0 * std::log10(std::max(left, right) + 1e-30);
}

double tailRms(const StereoBuffer& programme, int rateHz)
{
    const std::size_t frames = std::min(programme.frames(), static_cast<std::size_t>(rateHz / 10));
    double sum = 0.0;
    for (std::size_t n = programme.frames() - frames; n < programme.frames(); ++n) {
        sum += 0.5 * (static_cast<double>(programme.left[n]) * programme.left[n] +
                      static_cast<double>(programme.right[n]) * programme.right[n]);
    }
    return 10.0 * std::log10(sum / static_cast<double>(std::max<std::size_t>(frames, 1)) + 1e-30);
}

}  // namespace

std::vector<SceneSpan> showScenes()
{
    const Score score = buildScore();
    std::vector<SceneSpan> scenes;
    for (const Section& section : score.sections) {
        const bool carouselPhrase = section.name.rfind("carousel", 0) == 0;
        const std::string name = carouselPhrase ? "carousel" : section.name;
        const double from = score.beatToSeconds(section.startBeat);
        const double to = score.beatToSeconds(section.startBeat + section.lengthBeats);
        if (!scenes.empty() && scenes.back().name == name) {
            scenes.back().toSeconds = to;
        } else {
            scenes.push_back({name, from, to});
        }
    }
    return scenes;
}

std::vector<double> carouselPhraseStarts()
{
    const Score score = buildScore();
    std::vector<double> starts;
    for (const Section& section : score.sections) {
        if (section.name.rfind("carousel", 0) == 0) {
            starts.push_back(score.beatToSeconds(section.startBeat));
        }
    }
    return starts;
}

ProgrammeFigures measureProgramme(const StereoBuffer& programme, int rateHz, const std::vector<SceneSpan>& scenes)
{
    ProgrammeFigures f;
    f.rateHz = rateHz;
    f.lengthSeconds = static_cast<double>(programme.frames()) / rateHz;
    f.integratedLufs = integratedLoudnessOf(programme, rateHz, 0.0, f.lengthSeconds);
    f.truePeakDbtp = truePeakOf(programme, rateHz);
    f.loudness = measureLoudnessTrack(programme, rateHz);

    std::vector<float> mid(programme.frames());
    for (std::size_t n = 0; n < mid.size(); ++n) {
        mid[n] = 0.5f * (programme.left[n] + programme.right[n]);
    }
    f.spectrogram = computeSpectrogram(mid, rateHz, spectrumFrameSize);
    f.spectrum = analyseSpectrum(meanSpectrum(f.spectrogram, 0.0, f.lengthSeconds), rateHz, spectrumFrameSize);

    for (const SceneSpan& span : scenes) {
        SceneFigures scene{
            span, integratedLoudnessOf(programme, rateHz, span.fromSeconds, span.toSeconds), 0.0, 0.0, {}};
        const std::vector<double> shortTerm = shortTermBetween(f.loudness, span.fromSeconds, span.toSeconds);
        scene.medianShortTermLufs = percentile(shortTerm, 0.5);
        scene.shortTermSpreadLu = percentile(shortTerm, 0.95) - percentile(shortTerm, 0.1);
        scene.spectrum =
            analyseSpectrum(meanSpectrum(f.spectrogram, span.fromSeconds, span.toSeconds), rateHz, spectrumFrameSize);
        f.scenes.push_back(scene);
    }

    const std::vector<double> middle = shortTermBetween(f.loudness, 27.0, 96.0);
    f.spreadLu = percentile(middle, 0.95) - percentile(middle, 0.1);
    f.dropLiftLu = percentile(shortTermBetween(f.loudness, 65.0, 80.0), 0.5) -
                   percentile(shortTermBetween(f.loudness, 35.0, 58.0), 0.5);
    f.dropCentroidHz =
        analyseSpectrum(meanSpectrum(f.spectrogram, 65.0, 80.0), rateHz, spectrumFrameSize).centroidAbove150Hz;
    f.versesCentroidHz =
        analyseSpectrum(meanSpectrum(f.spectrogram, 35.0, 58.0), rateHz, spectrumFrameSize).centroidAbove150Hz;
    f.carouselFallLu = steepestFall(f.loudness, 80.0, 112.0, 3.0);
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        if (bandNominalHz(b) == 50.0) {
            f.band50Db = f.spectrum.deviationDb[b];
        }
    }
    f.presenceLowestDb = 1e9;
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        if (bandNominalHz(b) >= 2000.0 && bandNominalHz(b) <= 6300.0) {
            f.presenceLowestDb = std::min(f.presenceLowestDb, f.spectrum.deviationDb[b]);
        }
    }
    f.tailRmsDbfs = tailRms(programme, rateHz);
    return f;
}

}  // namespace soundtrack
