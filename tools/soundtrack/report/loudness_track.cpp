#include "loudness_track.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace soundtrack {

namespace {

// libebur128 takes interleaved frames.
std::vector<float> interleave(const StereoBuffer& programme, std::size_t from, std::size_t to)
{
    std::vector<float> frames;
    frames.reserve(2 * (to - from));
    for (std::size_t n = from; n < to; ++n) {
        frames.push_back(programme.left[n]);
        frames.push_back(programme.right[n]);
    }
    return frames;
}

double finiteOrMinusInfinity(double lufs)
{
    return std::isfinite(lufs) ? lufs : -std::numeric_limits<double>::infinity();
}

std::size_t frameAt(double seconds, int rateHz, std::size_t frames)
{
    return std::min(frames, static_cast<std::size_t>(std::max(0.0, std::round(seconds * rateHz))));
}

}  // namespace

LoudnessTrack measureLoudnessTrack(const StereoBuffer& programme, int rateHz)
{
    LoudnessTrack track;
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(rateHz), EBUR128_MODE_S);
    if (!meter) {
        return track;
    }
    const auto step = static_cast<std::size_t>(std::llround(track.stepSeconds * rateHz));
    for (std::size_t start = 0; start + step <= programme.frames(); start += step) {
        const std::vector<float> frames = interleave(programme, start, start + step);
        ebur128_add_frames_float(meter, frames.data(), step);
        double shortTerm = 0.0, momentary = 0.0;
        // The first 3 s have no full short-term window yet: libebur128 then measures what it has.
        ebur128_loudness_shortterm(meter, &shortTerm);
        ebur128_loudness_momentary(meter, &momentary);
        track.shortTerm.push_back(finiteOrMinusInfinity(shortTerm));
        track.momentary.push_back(finiteOrMinusInfinity(momentary));
    }
    ebur128_destroy(&meter);
    return track;
}

double integratedLoudnessOf(const StereoBuffer& programme, int rateHz, double fromSeconds, double toSeconds)
{
    const std::size_t from = frameAt(fromSeconds, rateHz, programme.frames());
    const std::size_t to = frameAt(toSeconds, rateHz, programme.frames());
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(rateHz), EBUR128_MODE_I);
    if (!meter || to <= from) {
        ebur128_destroy(&meter);
        return -std::numeric_limits<double>::infinity();
    }
    const std::vector<float> frames = interleave(programme, from, to);
    ebur128_add_frames_float(meter, frames.data(), to - from);
    double lufs = 0.0;
    ebur128_loudness_global(meter, &lufs);
    ebur128_destroy(&meter);
    return finiteOrMinusInfinity(lufs);
}

std::vector<double> shortTermBetween(const LoudnessTrack& track, double fromSeconds, double toSeconds)
{
    std::vector<double> values;
    for (std::size_t i = 0; i < track.shortTerm.size(); ++i) {
        const double t = track.timeOf(i);
        if (t >= fromSeconds - 1e-9 && t <= toSeconds + 1e-9 && std::isfinite(track.shortTerm[i])) {
            values.push_back(track.shortTerm[i]);
        }
    }
    return values;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return std::nan("");
    }
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(values.size()));
    const std::size_t index = std::max<std::size_t>(static_cast<std::size_t>(rank), 1) - 1;
    return values[index];
}

double steepestFall(const LoudnessTrack& track, double fromSeconds, double toSeconds, double withinSeconds)
{
    const auto within = static_cast<std::size_t>(std::llround(withinSeconds / track.stepSeconds));
    double steepest = 0.0;
    for (std::size_t i = 0; i < track.shortTerm.size(); ++i) {
        if (track.timeOf(i) < fromSeconds - 1e-9 || !std::isfinite(track.shortTerm[i])) {
            continue;
        }
        for (std::size_t j = i + 1; j <= i + within && j < track.shortTerm.size(); ++j) {
            if (track.timeOf(j) > toSeconds + 1e-9) {
                break;
            }
            // A window fallen silent is as far as a fall can go: count it from -70 LUFS, the
            // meter's absolute gate.
            const double later = std::isfinite(track.shortTerm[j]) ? track.shortTerm[j] : -70.0;
            steepest = std::max(steepest, track.shortTerm[i] - later);
        }
    }
    return steepest;
}

}  // namespace soundtrack
