#include "progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

ProgressLine::ProgressLine(uint64_t total, bool wanted)
    : total_(total), style_(!wanted                        ? Style::Silent
                            : ::isatty(STDERR_FILENO) == 1 ? Style::Terminal
                                                           : Style::Log),
      begin_(std::chrono::steady_clock::now()), lastShown_(begin_), nextLogged_(nextLoggedFrame(0, total))
{}

std::string ProgressLine::formatLine(uint64_t done, uint64_t total, double seconds)
{
    const double rate = seconds > 0.0 ? double(done) / seconds : 0.0;
    char text[128];
    if (rate > 0.0 && done < total) {
        const uint64_t left = uint64_t(std::llround(double(total - done) / rate));
        std::snprintf(text, sizeof text, "frame %llu of %llu, %.1f frames/s, %llu:%02llu left",
                      static_cast<unsigned long long>(done), static_cast<unsigned long long>(total), rate,
                      static_cast<unsigned long long>(left / 60), static_cast<unsigned long long>(left % 60));
    } else if (rate > 0.0) {
        std::snprintf(text, sizeof text, "frame %llu of %llu, %.1f frames/s", static_cast<unsigned long long>(done),
                      static_cast<unsigned long long>(total), rate);
    } else {
        std::snprintf(text, sizeof text, "frame %llu of %llu", static_cast<unsigned long long>(done),
                      static_cast<unsigned long long>(total));
    }
    return text;
}

std::string ProgressLine::formatLogLine(uint64_t done, uint64_t total, double seconds)
{
    const unsigned long long percent = total > 0 ? done * 100 / total : 100;
    return "capture: " + std::to_string(percent) + "%, " + formatLine(done, total, seconds);
}

uint64_t ProgressLine::nextLoggedFrame(uint64_t done, uint64_t total)
{
    if (total == 0)
        return 1;
    // Steps reached so far, then the first frame count of the next step, rounded up so that
    // the line at a step is written once that share is really done.
    const uint64_t reached = std::min(done, total) * logSteps / total;
    const uint64_t next = ((reached + 1) * total + logSteps - 1) / logSteps;
    return std::min(std::max(next, done + 1), total);
}

void ProgressLine::update(uint64_t done)
{
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - begin_).count();
    switch (style_) {
    case Style::Silent: return;
    case Style::Log:
        if (done < nextLogged_)
            return;
        break;
    case Style::Terminal:
        if (shown_ && now - lastShown_ < std::chrono::milliseconds(250) && done < total_)
            return;
        break;
    }
    lastShown_ = now;
    shown_ = true;
    if (style_ == Style::Log) {
        // Past the last frame nothing more is due.
        nextLogged_ = done >= total_ ? total_ + 1 : nextLoggedFrame(done, total_);
        std::fprintf(stderr, "%s\n", formatLogLine(done, total_, seconds).c_str());
    } else {
        std::fprintf(stderr, "\r\033[K%s", formatLine(done, total_, seconds).c_str());
    }
    std::fflush(stderr);
}

void ProgressLine::finish()
{
    if (style_ == Style::Terminal && shown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
    shown_ = false;
}
