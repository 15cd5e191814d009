#include "player_clock.h"

#include <algorithm>

PlayerClock::PlayerClock(double start, bool paused, double end, int64_t frequency, int64_t now)
    : anchorTime_(std::clamp(start, 0.0, end)), anchorCount_(now), frequency_(frequency > 0 ? frequency : 1), end_(end),
      paused_(paused)
{}

double PlayerClock::time(int64_t now) const
{
    if (paused_)
        return anchorTime_;
    const double elapsed = double(now - anchorCount_) / double(frequency_);
    return std::min(anchorTime_ + elapsed, end_);
}

void PlayerClock::setPaused(bool paused, int64_t now)
{
    anchorTime_ = time(now);
    anchorCount_ = now;
    paused_ = paused;
}

void PlayerClock::seek(double t, int64_t now)
{
    anchorTime_ = std::clamp(t, 0.0, end_);
    anchorCount_ = now;
}
