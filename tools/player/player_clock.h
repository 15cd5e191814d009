#pragma once
// Demo time under the creator's hand: it runs with the clock while playing, holds while paused,
// and jumps on a seek. It reads whatever counter it is given (counts, and counts per second), so
// the same arithmetic serves the window and the tests.
#include <cstdint>

class PlayerClock {
public:
    // Starts at `start` (clamped to 0..end), paused or not; `end` is where playing stops.
    PlayerClock(double start, bool paused, double end, int64_t frequency, int64_t now);

    // Demo seconds at counter value `now`: the held time while paused, else the time of the last
    // seek or resume plus the seconds since, never past the end.
    double time(int64_t now) const;
    bool paused() const { return paused_; }
    double end() const { return end_; }
    bool atEnd(int64_t now) const { return time(now) >= end_; }

    // Holding keeps the time reached; resuming runs on from it.
    void setPaused(bool paused, int64_t now);

    // Goes to t, clamped to 0..end.
    void seek(double t, int64_t now);

private:
    double anchorTime_;  // demo seconds at anchorCount_
    int64_t anchorCount_;
    int64_t frequency_;
    double end_;
    bool paused_;
};
