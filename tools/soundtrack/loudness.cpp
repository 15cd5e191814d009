#include "loudness.h"

#include "filters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace soundtrack {

namespace {

// The K-weighting pre-filter: a high shelf of about +4 dB above 1.7 kHz (modelling the head)
// followed by a high-pass near 38 Hz, derived for this sample rate from their analogue
// prototypes by the bilinear transform.
std::array<Biquad, 2> kWeighting() {
    std::array<Biquad, 2> stages;
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(pi * f0 / sampleRate);
        const double vh = std::pow(10.0, gainDb / 20.0);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1.0 + k / q + k * k;
        Biquad& shelf = stages[0];
        shelf.b0 = (vh + vb * k / q + k * k) / a0;
        shelf.b1 = 2.0 * (k * k - vh) / a0;
        shelf.b2 = (vh - vb * k / q + k * k) / a0;
        shelf.a1 = 2.0 * (k * k - 1.0) / a0;
        shelf.a2 = (1.0 - k / q + k * k) / a0;
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(pi * f0 / sampleRate);
        const double a0 = 1.0 + k / q + k * k;
        Biquad& highPass = stages[1];
        highPass.b0 = 1.0;
        highPass.b1 = -2.0;
        highPass.b2 = 1.0;
        highPass.a1 = 2.0 * (k * k - 1.0) / a0;
        highPass.a2 = (1.0 - k / q + k * k) / a0;
    }
    return stages;
}

double loudnessOf(double meanSquare) { return -0.691 + 10.0 * std::log10(meanSquare); }

// Interpolation taps for the points at a quarter, a half and three quarters of the way to the
// next sample: a Hann-windowed sinc over 16 neighbours (n - 7 .. n + 8).
constexpr int interpolationTaps = 16;
using PhaseTaps = std::array<double, interpolationTaps>;

std::array<PhaseTaps, 3> interpolationFilters() {
    std::array<PhaseTaps, 3> filters{};
    for (int phase = 0; phase < 3; ++phase) {
        const double offset = (phase + 1) / 4.0;
        for (int k = 0; k < interpolationTaps; ++k) {
            const double x = (k - (interpolationTaps / 2 - 1)) - offset;
            const double sinc = std::sin(pi * x) / (pi * x);
            const double window = 0.5 + 0.5 * std::cos(pi * x / (interpolationTaps / 2 + 1));
            filters[phase][k] = sinc * window;
        }
    }
    return filters;
}

}  // namespace

double integratedLoudness(const StereoBuffer& programme) {
    const std::size_t frames = programme.frames();
    std::vector<double> weightedSquares(frames, 0.0);
    for (const std::vector<float>* channel : {&programme.left, &programme.right}) {
        auto stages = kWeighting();
        for (std::size_t n = 0; n < frames; ++n) {
            const double y = stages[1].process(stages[0].process((*channel)[n]));
            weightedSquares[n] += y * y;
        }
    }

    // Blocks of 400 ms every 100 ms; each block's mean square of the two channels summed.
    const std::size_t blockFrames = secondsToFrames(0.4);
    const std::size_t stepFrames = secondsToFrames(0.1);
    std::vector<double> blocks;
    double running = 0.0;
    std::vector<double> prefix(frames + 1, 0.0);
    for (std::size_t n = 0; n < frames; ++n) {
        running += weightedSquares[n];
        prefix[n + 1] = running;
    }
    for (std::size_t start = 0; start + blockFrames <= frames; start += stepFrames) {
        blocks.push_back((prefix[start + blockFrames] - prefix[start]) / blockFrames);
    }

    const double absoluteGate = -70.0;
    double sum = 0.0;
    std::size_t count = 0;
    for (double z : blocks) {
        if (z > 0.0 && loudnessOf(z) > absoluteGate) {
            sum += z;
            ++count;
        }
    }
    if (count == 0) {
        return -std::numeric_limits<double>::infinity();
    }
    const double relativeGate = loudnessOf(sum / count) - 10.0;
    sum = 0.0;
    count = 0;
    for (double z : blocks) {
        if (z > 0.0 && loudnessOf(z) > absoluteGate && loudnessOf(z) > relativeGate) {
            sum += z;
            ++count;
        }
    }
    return loudnessOf(sum / count);
}

std::vector<float> truePeakEnvelope(const std::vector<float>& channel) {
    static const std::array<PhaseTaps, 3> filters = interpolationFilters();
    const std::size_t frames = channel.size();
    std::vector<float> peaks(frames, 0.0f);
    const auto sampleAt = [&](std::ptrdiff_t i) -> double {
        return (i < 0 || i >= static_cast<std::ptrdiff_t>(frames)) ? 0.0 : channel[static_cast<std::size_t>(i)];
    };
    for (std::size_t n = 0; n < frames; ++n) {
        double peak = std::abs(channel[n]);
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(n) - (interpolationTaps / 2 - 1);
        const bool inside = first >= 0 && first + interpolationTaps <= static_cast<std::ptrdiff_t>(frames);
        for (const PhaseTaps& taps : filters) {
            double value = 0.0;
            if (inside) {
                const float* window = channel.data() + first;
                for (int k = 0; k < interpolationTaps; ++k) {
                    value += taps[k] * window[k];
                }
            } else {
                for (int k = 0; k < interpolationTaps; ++k) {
                    value += taps[k] * sampleAt(first + k);
                }
            }
            peak = std::max(peak, std::abs(value));
        }
        peaks[n] = static_cast<float>(peak);
    }
    return peaks;
}

double truePeakDecibels(const StereoBuffer& programme) {
    float peak = 0.0f;
    for (const std::vector<float>* channel : {&programme.left, &programme.right}) {
        for (float p : truePeakEnvelope(*channel)) {
            peak = std::max(peak, p);
        }
    }
    return peak > 0.0f ? gainToDecibels(peak) : -std::numeric_limits<double>::infinity();
}

float samplePeak(const StereoBuffer& programme) {
    float peak = 0.0f;
    for (const std::vector<float>* channel : {&programme.left, &programme.right}) {
        for (float s : *channel) {
            peak = std::max(peak, std::abs(s));
        }
    }
    return peak;
}

}  // namespace soundtrack
