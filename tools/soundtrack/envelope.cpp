#include "envelope.h"

#include "audio.h"

#include <algorithm>
#include <cmath>

namespace soundtrack {

namespace {

constexpr double shortestEdge = 0.001;

double heldLevel(const Adsr& shape, double time)
{
    const double attack = std::max(shape.attack, shortestEdge);
    if (time < attack) {
        return time / attack;
    }
    const double decay = std::max(shape.decay, 1e-4);
    return shape.sustain + (1.0 - shape.sustain) * std::exp(-(time - attack) / decay);
}

}  // namespace

float adsrLevel(const Adsr& shape, double time, double gate)
{
    if (time <= 0.0) {
        return 0.0f;
    }
    if (time < gate) {
        return static_cast<float>(heldLevel(shape, time));
    }
    const double release = std::max(shape.release, shortestEdge);
    const double r = (time - gate) / release;
    if (r >= 1.0) {
        return 0.0f;
    }
    const double fromLevel = heldLevel(shape, std::max(gate, 0.0));
    return static_cast<float>(fromLevel * (1.0 - r) * (1.0 - r));
}

double adsrLength(const Adsr& shape, double gate)
{
    return std::max(gate, 0.0) + std::max(shape.release, shortestEdge);
}

float percussiveLevel(double time, double attack, double decay, double length)
{
    if (time <= 0.0 || time >= length) {
        return 0.0f;
    }
    const double rise = std::max(attack, shortestEdge);
    double level = time < rise ? time / rise : std::exp(-(time - rise) / decay);
    const double fadeStart = length * 0.8;
    if (time > fadeStart) {
        const double f = (time - fadeStart) / (length - fadeStart);
        level *= 0.5 + 0.5 * std::cos(pi * f);
    }
    return static_cast<float>(level);
}

}  // namespace soundtrack
