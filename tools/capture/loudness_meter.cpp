#include "loudness_meter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>

struct LoudnessMeter::State {
    ebur128_state* meter;
};

LoudnessMeter::LoudnessMeter(uint32_t channels, uint32_t sampleRate) : channels_(channels)
{
    if (channels == 0 || sampleRate == 0)
        return;
    ebur128_state* meter =
        ebur128_init(channels, sampleRate, EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_TRUE_PEAK);
    if (meter)
        state_ = new State{meter};
}

LoudnessMeter::~LoudnessMeter()
{
    if (state_) {
        ebur128_destroy(&state_->meter);
        delete state_;
    }
}

void LoudnessMeter::add(const float* samples, size_t frames)
{
    if (state_ && frames > 0)
        ebur128_add_frames_float(state_->meter, samples, frames);
}

LoudnessFigures LoudnessMeter::figures() const
{
    LoudnessFigures figures;
    const double silence = -std::numeric_limits<double>::infinity();
    figures.integratedLufs = silence;
    figures.truePeakDbtp = silence;
    if (!state_)
        return figures;
    ebur128_loudness_global(state_->meter, &figures.integratedLufs);
    ebur128_loudness_range(state_->meter, &figures.rangeLu);
    double peak = 0;
    for (uint32_t channel = 0; channel < channels_; ++channel) {
        double channelPeak = 0;
        if (ebur128_true_peak(state_->meter, channel, &channelPeak) == EBUR128_SUCCESS)
            peak = std::max(peak, channelPeak);
    }
    figures.truePeakDbtp = peak > 0 ? 20.0 * std::log10(peak) : silence;
    return figures;
}
