#include "progress_line.h"

#include <unistd.h>

#include <cmath>

ProgressLine::ProgressLine(uint64_t total, bool wanted)
    : total_(total), terminal_(wanted && ::isatty(STDERR_FILENO) == 1), begin_(std::chrono::steady_clock::now()),
      lastShown_(begin_)
{
}

std::string ProgressLine::formatLine(uint64_t done, uint64_t total, double seconds)
{
    const double rate = seconds > 0.0 ? double(done) / seconds : 0.0;
    char text[128];
    if (rate > 0.0 && done < total) {
        const uint64_t left = uint64_t(std::llround(double(total - done) / rate));
        std::snprintf(text, sizeof text, "frame %llu of %llu, %.1f frames/s, %llu:%02llu left",
                      static_cast<unsigned long long>(done), static_cast<unsigned long long>(total), rate,
                      static_cast<unsigned long long>(left / 60), static_cast<unsigned long long>(left % 60));
    } else {
        std::snprintf(text, sizeof text, "frame %llu of %llu", static_cast<unsigned long long>(done),
                      static_cast<unsigned long long>(total));
    }
    return text;
}

void ProgressLine::update(uint64_t done)
{
    if (!terminal_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - lastShown_ < std::chrono::milliseconds(250) && done < total_)
        return;
    lastShown_ = now;
    shown_ = true;
    const double seconds = std::chrono::duration<double>(now - begin_).count();
    std::fprintf(stderr, "\r\033[K%s", formatLine(done, total_, seconds).c_str());
    std::fflush(stderr);
}

void ProgressLine::finish()
{
    if (terminal_ && shown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
    shown_ = false;
}
