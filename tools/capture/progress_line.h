#pragma once
// The capture's progress on a terminal: one line rewritten in place with frames done, the
// rate and the time left; nothing when standard error is not a terminal.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class ProgressLine {
public:
    // Silent when `wanted` is false or standard error is not a terminal.
    ProgressLine(uint64_t total, bool wanted);
    void update(uint64_t done);
    // Clears the line (before the summary or an error message).
    void finish();

    static std::string formatLine(uint64_t done, uint64_t total, double seconds);

private:
    uint64_t total_;
    bool terminal_;
    std::chrono::steady_clock::time_point begin_;
    std::chrono::steady_clock::time_point lastShown_;
    bool shown_ = false;
};
