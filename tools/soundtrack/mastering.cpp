#include "mastering.h"

#include "filters.h"
#include "limiter.h"
#include "loudness.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

StereoBuffer applyGain(const StereoBuffer& input, double gain, const std::vector<float>& limiter)
{
    StereoBuffer out(input.frames());
    for (std::size_t n = 0; n < input.frames(); ++n) {
        const float g = static_cast<float>(gain) * limiter[n];
        out.left[n] = input.left[n] * g;
        out.right[n] = input.right[n] * g;
    }
    return out;
}

}  // namespace

MasteringReport masterMix(StereoBuffer& programme, const MasteringTarget& target)
{
    DcBlocker blockLeft, blockRight;
    for (std::size_t n = 0; n < programme.frames(); ++n) {
        programme.left[n] = blockLeft.process(programme.left[n]);
        programme.right[n] = blockRight.process(programme.right[n]);
    }

    // The peak envelope of the unscaled programme; scaling the programme scales it alike, so
    // it is measured once and reused for every trial gain.
    const std::vector<float> peaks = truePeakEnvelope(programme);

    // The limiter's gain moves a little between the points the envelope looked at; a hundredth
    // of a dB of margin covers it. Should the result still read over the ceiling, the limiter
    // is set lower by the excess and the rounds go on.
    double limiterCeilingDb = target.truePeakCeilingDbtp - 0.01;

    // Limiting lowers the loudness a little, so the make-up gain is found by a few rounds of
    // measure and correct.
    double gainDb = target.loudnessLufs - integratedLoudness(programme);
    StereoBuffer result;
    std::vector<float> reduction;
    double loudness = 0.0;
    for (int round = 0; round < 8; ++round) {
        LimiterSettings limiter;
        limiter.ceiling = decibelsToGain(limiterCeilingDb);
        const double gain = decibelsToGain(gainDb);
        std::vector<float> scaled(peaks.size());
        for (std::size_t n = 0; n < peaks.size(); ++n) {
            scaled[n] = static_cast<float>(peaks[n] * gain);
        }
        reduction = limiterGain(scaled, limiter);
        result = applyGain(programme, gain, reduction);

        loudness = integratedLoudness(result);
        const double error = target.loudnessLufs - loudness;
        if (std::abs(error) >= 0.02) {
            gainDb += error;
            continue;
        }
        const double truePeak = truePeakDecibels(result);
        if (truePeak <= target.truePeakCeilingDbtp) {
            break;
        }
        limiterCeilingDb -= truePeak - target.truePeakCeilingDbtp + 0.01;
    }
    programme = std::move(result);

    MasteringReport report{};
    report.gainDecibels = gainDb;
    report.loudnessLufs = loudness;
    report.truePeakDbtp = truePeakDecibels(programme);
    report.largestReductionDb = -gainToDecibels(*std::min_element(reduction.begin(), reduction.end()));
    return report;
}

}  // namespace soundtrack
