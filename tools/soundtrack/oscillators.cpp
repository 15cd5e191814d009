#include "oscillators.h"

#include "audio.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

// Correction for a unit upward step at phase 0, where t is the phase and dt the increment.
double stepCorrection(double t, double dt)
{
    if (t < dt) {
        const double x = t / dt;
        return x + x - x * x - 1.0;
    }
    if (t > 1.0 - dt) {
        const double x = (t - 1.0) / dt;
        return x * x + x + x + 1.0;
    }
    return 0.0;
}

}  // namespace

void Oscillator::setFrequency(double hz)
{
    increment = std::clamp(hz / sampleRate, 0.0, 0.45);
}

void Oscillator::advance()
{
    phase += increment;
    if (phase >= 1.0) {
        phase -= 1.0;
    }
}

float Oscillator::sine()
{
    const double value = std::sin(twoPi * phase);
    advance();
    return static_cast<float>(value);
}

float Oscillator::saw()
{
    const double value = 2.0 * phase - 1.0 - stepCorrection(phase, increment);
    advance();
    return static_cast<float>(value);
}

float Oscillator::pulse(double width)
{
    const double w = std::clamp(width, 0.05, 0.95);
    double value = phase < w ? 1.0 : -1.0;
    value += stepCorrection(phase, increment);
    double falling = phase - w;
    if (falling < 0.0) {
        falling += 1.0;
    }
    value -= stepCorrection(falling, increment);
    // Remove the mean a pulse of this width carries, so changing the width adds no offset.
    value -= 2.0 * w - 1.0;
    advance();
    return static_cast<float>(value);
}

}  // namespace soundtrack
