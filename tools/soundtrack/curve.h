// Automation: a value that changes over the show's time, given as breakpoints (seconds,
// value) in rising time order and joined by straight lines. Before the first breakpoint the
// first value holds, after the last the last value holds.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace soundtrack {

class Curve {
public:
    Curve() = default;
    Curve(std::initializer_list<std::pair<double, double>> points) : breakpoints(points) {}

    double at(double seconds) const
    {
        if (breakpoints.empty()) {
            return 0.0;
        }
        if (seconds <= breakpoints.front().first) {
            return breakpoints.front().second;
        }
        for (std::size_t i = 1; i < breakpoints.size(); ++i) {
            const auto& [t1, v1] = breakpoints[i];
            if (seconds < t1) {
                const auto& [t0, v0] = breakpoints[i - 1];
                const double f = t1 > t0 ? (seconds - t0) / (t1 - t0) : 1.0;
                return v0 + (v1 - v0) * f;
            }
        }
        return breakpoints.back().second;
    }

    const std::vector<std::pair<double, double>>& points() const { return breakpoints; }

private:
    std::vector<std::pair<double, double>> breakpoints;
};

}  // namespace soundtrack
