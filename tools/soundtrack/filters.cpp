#include "filters.h"

#include "audio.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

void StateVariableFilter::setCutoff(double hz, double resonance)
{
    const double cutoff = std::clamp(hz, 10.0, sampleRate * 0.45);
    const double g = std::tan(pi * cutoff / sampleRate);
    damping = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.98);
    a1 = 1.0 / (1.0 + g * (g + damping));
    a2 = g * a1;
    a3 = g * a2;
}

StateVariableFilter::Outputs StateVariableFilter::process(float input)
{
    const double v3 = input - state2;
    const double v1 = a1 * state1 + a2 * v3;
    const double v2 = state2 + a2 * state1 + a3 * v3;
    state1 = 2.0 * v1 - state1;
    state2 = 2.0 * v2 - state2;
    const double high = input - damping * v1 - v2;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(high)};
}

void OnePoleLowPass::setCutoff(double hz)
{
    coefficient = 1.0 - std::exp(-twoPi * std::max(hz, 0.0) / sampleRate);
}

Biquad Biquad::highPass(double hz, double q)
{
    const double w = twoPi * std::clamp(hz, 10.0, sampleRate * 0.45) / sampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::highShelf(double hz, double gainDb)
{
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w = twoPi * std::clamp(hz, 10.0, sampleRate * 0.45) / sampleRate;
    const double c = std::cos(w);
    const double alpha = std::sin(w) / 2.0 * std::sqrt(2.0);
    const double root = 2.0 * std::sqrt(a) * alpha;
    return Biquad(a * ((a + 1.0) + (a - 1.0) * c + root), -2.0 * a * ((a - 1.0) + (a + 1.0) * c),
                  a * ((a + 1.0) + (a - 1.0) * c - root), (a + 1.0) - (a - 1.0) * c + root,
                  2.0 * ((a - 1.0) - (a + 1.0) * c), (a + 1.0) - (a - 1.0) * c - root);
}

Biquad Biquad::peak(double hz, double q, double gainDb)
{
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w = twoPi * std::clamp(hz, 10.0, sampleRate * 0.45) / sampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad(1.0 + alpha * a, -2.0 * c, 1.0 - alpha * a, 1.0 + alpha / a, -2.0 * c, 1.0 - alpha / a);
}

}  // namespace soundtrack
