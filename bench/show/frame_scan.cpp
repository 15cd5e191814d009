// The frame scan: the show drawn in sequence, as a video capture draws it, through its own
// start-up and timeline, with every frame finished (glFinish) and timed. Prints each scene's
// median and mean frame time and its slowest frames, and optionally every frame to a CSV file
// for a plot. It is how a stall is found: a frame that takes seconds where its neighbours take
// a tenth of one.
//
//   frame_scan [--size WxH] [--fps F] [--from T0] [--to T1] [--csv FILE] [--limit S]
//
// Run in the runnable folder (it reads the show's data). With --limit, a frame that is still
// being drawn after S seconds ends the scan at once with status 1, naming the frame: a stall
// takes minutes, so the scan must not wait for it to finish.
#include "capture_options.h"
#include "frame_range.h"
#include "headless_show.h"

#include "core/gl_api.h"
#include "show/show.h"
#include "show/timeline.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct ScanOptions {
    uint32_t width = 480;
    uint32_t height = 270;
    FrameRate rate{30, 1};
    double from = 0.0;
    double to = 140.0;
    std::string csvPath;
    double limitSeconds = 0.0;  // 0: no limit
};

const char* const usage = "usage: frame_scan [--size WxH] [--fps F] [--from T0] [--to T1] [--csv FILE] [--limit S]\n"
                          "  draws the show in sequence at WxH (default 480x270) and F frames a second (default 30)\n"
                          "  from T0 to T1 (default the whole show), timing every frame; with --limit a frame taking\n"
                          "  more than S seconds ends the scan with status 1\n";

bool parseSeconds(const char* text, double low, double high, double& seconds)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (*text == '\0' || *end != '\0' || errno != 0 || !std::isfinite(value) || value < low || value > high)
        return false;
    seconds = value;
    return true;
}

bool parseScanOptions(int argc, char** argv, ScanOptions& options)
{
    for (int i = 1; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (i + 1 >= argc)
            return false;
        const char* value = argv[i + 1];
        bool good = false;
        if (flag == "--size")
            good = parseFrameSize(value, options.width, options.height);
        else if (flag == "--fps")
            good = parseFrameRate(value, options.rate);
        else if (flag == "--from")
            good = parseSeconds(value, 0.0, 140.0, options.from);
        else if (flag == "--to")
            good = parseSeconds(value, 0.0, 140.0, options.to);
        else if (flag == "--limit")
            good = parseSeconds(value, 0.001, 3600.0, options.limitSeconds);
        else if (flag == "--csv") {
            options.csvPath = value;
            good = !options.csvPath.empty();
        }
        if (!good)
            return false;
    }
    return options.from < options.to;
}

const char* sceneName(double t)
{
    const SceneRow* row = sceneAt(t);
    return row ? row->name : "close";
}

struct FrameTime {
    double t;             // demo time, seconds
    double milliseconds;  // draw to glFinish
};

// Ends the process when the frame in flight has run past the limit. The main thread may be
// inside the driver for minutes, so only a second thread can report it.
class StallWatch {
public:
    explicit StallWatch(double limitSeconds) : limitSeconds_(limitSeconds)
    {
        if (limitSeconds_ > 0.0)
            thread_ = std::thread([this] { watch(); });
    }
    ~StallWatch()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    void frameStarts(double t)
    {
        frameTime_ = t;
        started_ = Clock::now().time_since_epoch().count();
    }
    void frameEnds() { started_ = 0; }

private:
    void watch()
    {
        while (!done_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const auto started = started_.load();
            if (started == 0)
                continue;
            const double seconds =
                std::chrono::duration<double>(Clock::duration(Clock::now().time_since_epoch().count() - started))
                    .count();
            if (seconds > limitSeconds_) {
                std::printf("STALL: the frame at t = %.4f s has taken more than %.1f s\n", frameTime_.load(),
                            limitSeconds_);
                std::fflush(stdout);
                std::_Exit(1);
            }
        }
    }

    double limitSeconds_;
    std::atomic<bool> done_{false};
    std::atomic<Clock::rep> started_{0};
    std::atomic<double> frameTime_{0.0};
    std::thread thread_;
};

// The scene's first frame is reported apart: it pays for the driver's first use of the
// scene's programs and textures, which playing the show pays once too.
void printScene(const char* name, std::vector<FrameTime> frames, bool firstApart)
{
    if (frames.empty())
        return;
    double first = 0.0;
    if (firstApart && frames.size() > 1) {
        first = frames.front().milliseconds;
        frames.erase(frames.begin());
    }
    double total = 0.0;
    for (const FrameTime& frame : frames)
        total += frame.milliseconds;
    std::sort(frames.begin(), frames.end(),
              [](const FrameTime& a, const FrameTime& b) { return a.milliseconds > b.milliseconds; });
    const double median = frames[frames.size() / 2].milliseconds;
    std::printf("%-17s %6zu %9.1f %9.1f %9.1f  ", name, frames.size(), first, median, total / double(frames.size()));
    for (size_t i = 0; i < std::min<size_t>(frames.size(), 3); ++i)
        std::printf(" %8.1f @%7.3f", frames[i].milliseconds, frames[i].t);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    ScanOptions options;
    if (!parseScanOptions(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    FILE* csv = nullptr;
    if (!options.csvPath.empty() && !(csv = std::fopen(options.csvPath.c_str(), "w"))) {
        std::fprintf(stderr, "frame_scan: cannot write %s\n", options.csvPath.c_str());
        return 2;
    }

    int exitStatus = 0;
    Show* show = startHeadlessShow(options.width, options.height, exitStatus);
    if (!show)
        return exitStatus != 0 ? exitStatus : 1;
    show->rate = options.rate;
    std::printf("frame_scan: %ux%u at %u/%u fps, %.3f to %.3f s, on %s\n", options.width, options.height,
                options.rate.numerator, options.rate.denominator, options.from, options.to,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::fflush(stdout);
    if (csv)
        std::fputs("frame,time_s,scene,milliseconds\n", csv);

    const FrameRange range = videoFrameRange(options.rate, options.from, options.to);
    const Clock::time_point scanStart = Clock::now();
    std::vector<FrameTime> sceneFrames;
    std::vector<FrameTime> allFrames;
    const char* currentScene = nullptr;
    std::printf("%-17s %6s %9s %9s %9s   slowest after the first (ms @ demo time s)\n", "scene", "frames", "first ms",
                "median ms", "mean ms");
    {
        StallWatch watch(options.limitSeconds);
        for (uint64_t i = range.first; i < range.first + range.count; ++i) {
            const double t = options.rate.frameTime(i);
            const char* scene = sceneName(t);
            if (scene != currentScene) {
                if (currentScene)
                    printScene(currentScene, sceneFrames, true);
                std::fflush(stdout);
                sceneFrames.clear();
                currentScene = scene;
            }
            watch.frameStarts(t);
            const Clock::time_point start = Clock::now();
            presentShowFrame(*show, t);
            glFinish();
            const double milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            watch.frameEnds();
            sceneFrames.push_back({t, milliseconds});
            allFrames.push_back({t, milliseconds});
            if (csv)
                std::fprintf(csv, "%llu,%.6f,%s,%.3f\n", static_cast<unsigned long long>(i), t, scene, milliseconds);
        }
    }
    if (currentScene)
        printScene(currentScene, sceneFrames, true);
    printScene("whole range", allFrames, false);
    std::printf("scan: %zu frames in %.1f s\n", allFrames.size(),
                std::chrono::duration<double>(Clock::now() - scanStart).count());
    if (csv)
        std::fclose(csv);
    return 0;
}
