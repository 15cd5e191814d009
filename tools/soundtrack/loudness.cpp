#include "loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

namespace soundtrack {

namespace {

struct MeterDeleter {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using Meter = std::unique_ptr<ebur128_state, MeterDeleter>;

// libebur128 fails only when it cannot allocate.
Meter openMeter(int mode)
{
    Meter meter(ebur128_init(2, sampleRate, mode));
    if (!meter) {
        throw std::bad_alloc();
    }
    return meter;
}

void check(int result)
{
    if (result != EBUR128_SUCCESS) {
        throw std::bad_alloc();
    }
}

// Hands frames [first, first + count) to the meter interleaved, as libebur128 takes them.
void addFrames(ebur128_state* meter, const StereoBuffer& programme, std::size_t first, std::size_t count,
               std::vector<float>& interleaved)
{
    interleaved.resize(2 * count);
    for (std::size_t n = 0; n < count; ++n) {
        interleaved[2 * n] = programme.left[first + n];
        interleaved[2 * n + 1] = programme.right[first + n];
    }
    check(ebur128_add_frames_float(meter, interleaved.data(), count));
}

void addProgramme(ebur128_state* meter, const StereoBuffer& programme)
{
    constexpr std::size_t chunk = 1 << 16;
    std::vector<float> interleaved;
    for (std::size_t first = 0; first < programme.frames(); first += chunk) {
        addFrames(meter, programme, first, std::min(chunk, programme.frames() - first), interleaved);
    }
}

// The true-peak interpolator delays what it reports by a few frames, so the last frames' peaks
// only come out once later frames push them through: a little silence does that.
void flushTruePeak(ebur128_state* meter)
{
    const std::vector<float> silence(2 * secondsToFrames(0.01), 0.0f);
    check(ebur128_add_frames_float(meter, silence.data(), silence.size() / 2));
}

double previousTruePeak(ebur128_state* meter)
{
    double left = 0.0, right = 0.0;
    check(ebur128_prev_true_peak(meter, 0, &left));
    check(ebur128_prev_true_peak(meter, 1, &right));
    return std::max(left, right);
}

}  // namespace

double integratedLoudness(const StereoBuffer& programme)
{
    const Meter meter = openMeter(EBUR128_MODE_I);
    addProgramme(meter.get(), programme);
    double lufs = 0.0;
    check(ebur128_loudness_global(meter.get(), &lufs));
    return lufs;
}

double truePeakDecibels(const StereoBuffer& programme)
{
    const Meter meter = openMeter(EBUR128_MODE_TRUE_PEAK);
    addProgramme(meter.get(), programme);
    flushTruePeak(meter.get());
    double left = 0.0, right = 0.0;
    check(ebur128_true_peak(meter.get(), 0, &left));
    check(ebur128_true_peak(meter.get(), 1, &right));
    const double peak = std::max(left, right);
    return peak > 0.0 ? gainToDecibels(peak) : -std::numeric_limits<double>::infinity();
}

std::vector<float> truePeakEnvelope(const StereoBuffer& programme)
{
    const Meter meter = openMeter(EBUR128_MODE_TRUE_PEAK);
    const std::size_t frames = programme.frames();
    const std::size_t steps = (frames + truePeakEnvelopeStep - 1) / truePeakEnvelopeStep;

    // stepPeaks[i]: what libebur128 reports for step i; last, the flush's report, the next
    // step of the last one.
    std::vector<float> stepPeaks(steps + 1, 0.0f);
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < steps; ++i) {
        const std::size_t first = i * truePeakEnvelopeStep;
        addFrames(meter.get(), programme, first, std::min(truePeakEnvelopeStep, frames - first), interleaved);
        stepPeaks[i] = static_cast<float>(previousTruePeak(meter.get()));
    }
    flushTruePeak(meter.get());
    stepPeaks[steps] = static_cast<float>(previousTruePeak(meter.get()));

    std::vector<float> envelope(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        const std::size_t i = n / truePeakEnvelopeStep;
        envelope[n] = std::max(stepPeaks[i], stepPeaks[i + 1]);
    }
    return envelope;
}

}  // namespace soundtrack
