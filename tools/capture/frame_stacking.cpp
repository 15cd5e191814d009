#include "frame_stacking.h"

#include "headless_show.h"

#include "show/timeline.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const std::array<double, 256>& sRgbToLinear()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int i = 0; i < 256; ++i) {
            const double v = i / 255.0;
            values[size_t(i)] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        }
        return values;
    }();
    return table;
}

uint8_t linearToSrgb(double linear)
{
    const double v = std::clamp(linear, 0.0, 1.0);
    const double encoded = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    return uint8_t(std::lround(encoded * 255.0));
}

}  // namespace

std::vector<double> subframeTimes(double t, double frameSeconds, const Shutter& shutter)
{
    const int count = std::max(shutter.subframes, 1);
    if (count == 1)
        return {t};
    const double open = shutter.open * frameSeconds;
    const SceneRow* row = sceneAt(t);
    const double first = row ? row->start : t;
    const double last = row ? std::nextafter(row->end, first) : t;
    std::vector<double> times;
    times.reserve(size_t(count));
    for (int k = 0; k < count; ++k)
        times.push_back(std::clamp(t + open * ((k + 0.5) / count - 0.5), std::max(first, 0.0), last));
    return times;
}

void LinearLightAverage::add(const std::vector<uint8_t>& rgba)
{
    if (sum_.empty()) {
        sum_.assign(rgba.size(), 0.0);
        alpha_.assign(rgba.size() / 4, 255);
    }
    const std::array<double, 256>& decode = sRgbToLinear();
    for (size_t i = 0; i + 3 < rgba.size() && i + 3 < sum_.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c)
            sum_[i + c] += decode[rgba[i + c]];
        alpha_[i / 4] = rgba[i + 3];
    }
    ++count_;
}

std::vector<uint8_t> LinearLightAverage::mean() const
{
    std::vector<uint8_t> rgba(sum_.size());
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c)
            rgba[i + c] = linearToSrgb(sum_[i + c] / std::max(count_, 1));
        rgba[i + 3] = alpha_[i / 4];
    }
    return rgba;
}

std::vector<uint8_t> captureStackedShowFrame(Show& show, double t, double frameSeconds, const Shutter& shutter,
                                             bool* last)
{
    if (last)
        *last = showClosesAt(t);
    const std::vector<double> times = subframeTimes(t, frameSeconds, shutter);
    if (times.size() == 1)
        return captureShowFrame(show, t, last);
    LinearLightAverage average;
    for (double time : times)
        average.add(captureShowFrame(show, time));
    return average.mean();
}
