// The show's start-up on Windows (and under wine), step by step up to the first frame: the
// time before main (from the process's creation, which under wine includes wine's own loading
// of the program), each step of start-up, the full-screen switch and the first frame drawn and
// presented, and the process's CPU time by then. One run is one start: start-up makes the
// show's single instances once. Built beside the Windows builds, outside the runnable folder
// and the zip; run it in the runnable folder (it reads the show's data).
//
//   startup_bench.exe [--launched-at SECONDS]
//
// SECONDS is when whatever started the program was itself started, in seconds since 1970 on
// the system clock (`date +%s.%N`): the time wine takes to get to the process is then printed
// too, and the whole time from that start to the first frame.
#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/timeline_frame.h"
#include "core/gl_api.h"
#include "platform/platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int64_t stepStart = 0;

double millisecondsSince(int64_t start)
{
    return 1000.0 * double(performanceCounter() - start) / double(performanceFrequency());
}

void printStep(const char* step, double milliseconds)
{
    std::printf("  %-34s %8.1f ms\n", step, milliseconds);
    std::fflush(stdout);
}

void stepDone(const char* step)
{
    printStep(step, millisecondsSince(stepStart));
    stepStart = performanceCounter();
}

// A FILETIME (100 ns units since 1601) in milliseconds since 1970.
double unixMilliseconds(const FILETIME& time)
{
    constexpr uint64_t from1601To1970 = 116444736000000000ull;
    const uint64_t ticks = (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return double(int64_t(ticks - from1601To1970)) / 10000.0;
}

double ticksMilliseconds(const FILETIME& time)
{
    return double((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
}

double systemClockNow()
{
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return unixMilliseconds(now);
}

// When the process was created, on the system clock, and the CPU time it has used so far.
struct ProcessTimes {
    double created = 0.0, cpu = 0.0;
};

ProcessTimes processTimes()
{
    FILETIME creation, exit, kernel, user;
    ProcessTimes times;
    if (GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) {
        times.created = unixMilliseconds(creation);
        times.cpu = ticksMilliseconds(kernel) + ticksMilliseconds(user);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    const int64_t mainStart = performanceCounter();
    const double mainClock = systemClockNow();
    const ProcessTimes atMain = processTimes();
    double launched = 0.0;
    if (argc == 3 && std::strcmp(argv[1], "--launched-at") == 0)
        launched = 1000.0 * std::strtod(argv[2], nullptr);
    else if (argc != 1) {
        std::fputs("usage: startup_bench.exe [--launched-at SECONDS]\n", stderr);
        return 2;
    }

    std::printf("startup_bench: start-up by step\n");
    if (launched > 0.0)
        printStep("launch to process start", atMain.created - launched);
    printStep("process start to main", mainClock - atMain.created);
    stepStart = performanceCounter();

    const StartedShow started = startShow(stepDone);
    if (!started.show)
        return started.exitStatus() != 0 ? started.exitStatus() : 1;
    enterFullscreen();
    runFrameAt(*started.show, 0.0, timelineFrame);
    glFinish();
    stepDone("full screen and first frame");

    const double firstFrameClock = systemClockNow();
    printStep("main to first frame", millisecondsSince(mainStart));
    printStep("process start to first frame", firstFrameClock - atMain.created);
    if (launched > 0.0)
        printStep("launch to first frame", firstFrameClock - launched);
    printStep("process CPU time by then", processTimes().cpu);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::fflush(stdout);
    // The music's feeder thread is still running: the process ends with it.
    ExitProcess(0);
}
