#pragma once
// The capture's progress: frames done, the rate and the time left. On a terminal, one line
// rewritten in place a few times a second; elsewhere (a log, a pipe, CI) a whole line each
// time another 5 % of the frames is done, so a long capture shows that it is working without
// filling its log.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class ProgressLine {
public:
    // Silent when `wanted` is false; otherwise a terminal line or log lines, as standard error
    // is a terminal or not.
    ProgressLine(uint64_t total, bool wanted);
    void update(uint64_t done);
    // Clears the terminal line (before the summary or an error message).
    void finish();

    // "frame 100 of 6961, 10.0 frames/s, 11:26 left", `seconds` after the first frame began.
    static std::string formatLine(uint64_t done, uint64_t total, double seconds);
    // "capture: 5%, " and formatLine: one line of a log.
    static std::string formatLogLine(uint64_t done, uint64_t total, double seconds);
    // The first frame count, above `done`, at which a log line is due: the next whole step of
    // 1 / logSteps of `total`; never more than `total`.
    static uint64_t nextLoggedFrame(uint64_t done, uint64_t total);

    static constexpr uint64_t logSteps = 20;

private:
    enum class Style { Silent, Terminal, Log };

    uint64_t total_;
    Style style_;
    std::chrono::steady_clock::time_point begin_;
    std::chrono::steady_clock::time_point lastShown_;
    bool shown_ = false;
    uint64_t nextLogged_;
};
