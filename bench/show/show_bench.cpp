// The show as a viewer meets it, on the headless context: how long start-up takes, step by
// step, up to the first frame, and what each scene's frames cost at 640 x 360 and 1280 x 720
// (mean and worst over a stretch of that scene, each frame finished with glFinish by the
// headless swap), and each pass's time and share of the frame. The start-up is measured twice
// at 640 x 360: first with the driver's shader cache empty, then with it as earlier runs left
// it. Each run is a process of its own, since start-up makes the show's single instances once.
//
//   show_bench [frames per scene] [--640-only]     run in the runnable folder (reads the show's data)
//
// --640-only times the scenes at 640 x 360 with the cache warm and nothing else: a third of the
// run, for comparing shader changes round after round.
#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/timeline_frame.h"
#include "core/gl_api.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "render/renderer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point processStart;
Clock::time_point stepStart;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void stepDone(const char* step)
{
    std::printf("  %-34s %8.1f ms\n", step, millisecondsSince(stepStart));
    stepStart = Clock::now();
}

// Each pass's own time: the observer finishes the GL work as each pass is issued.
const char* const passNames[] = {"geometry", "light", "forward", "half", "DOF", "glow", "composite", "FXAA"};
double passTotals[std::size(passNames)];
Clock::time_point passStart;

void passDone(const char* pass)
{
    glFinish();
    const Clock::time_point now = Clock::now();
    for (size_t i = 0; i < std::size(passNames); ++i)
        if (std::strcmp(passNames[i], pass) == 0)
            passTotals[i] += std::chrono::duration<double, std::milli>(now - passStart).count();
    passStart = now;
}

struct Scene {
    const char* name;
    double start;  // demo time of the stretch measured
};

const Scene scenes[] = {
    {"tunnel intro", 10.0}, {"particle flash", 28.0}, {"credits", 45.0}, {"tunnel fireworks", 70.0}, {"carousel", 90.0},
};

// With `coldShaderCache`, the driver starts from an empty shader cache of its own (Mesa's), as
// on a first run, and only the start-up is measured.
int benchSize(uint32_t width, uint32_t height, int framesPerScene, bool coldShaderCache = false)
{
    std::printf("\n%ux%u\nstart-up%s:\n", width, height, coldShaderCache ? ", empty shader cache" : "");
    processStart = stepStart = Clock::now();
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setHeadlessScreenSize(width, height);
    const StartedShow started = startShow(stepDone);
    if (!started.show)
        return started.exitStatus() != 0 ? started.exitStatus() : 1;
    Show& show = *started.show;
    enterFullscreen();
    runFrameAt(show, 0.0, timelineFrame);
    stepDone("first frame");
    std::printf("  %-34s %8.1f ms\n", "start to first frame", millisecondsSince(processStart));
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    if (coldShaderCache)
        return 0;

    std::printf("%-18s %8s %8s %6s |", "scene", "mean ms", "worst ms", "fps");
    for (const char* pass : passNames)
        std::printf(" %9s", pass);
    std::printf("\n");
    setPassObserver(passDone);
    for (const Scene& scene : scenes) {
        runFrameAt(show, scene.start, timelineFrame);  // warm-up: first use of the scene's programs
        double total = 0.0, worst = 0.0;
        for (double& pass : passTotals)
            pass = 0.0;
        for (int frame = 0; frame < framesPerScene; ++frame) {
            const Clock::time_point start = Clock::now();
            passStart = start;
            // Ten frames a second of demo time: a stretch of the scene, not one still.
            runFrameAt(show, scene.start + 0.1 * (frame + 1), timelineFrame);
            const double milliseconds = millisecondsSince(start);
            total += milliseconds;
            worst = std::max(worst, milliseconds);
        }
        const double mean = total / framesPerScene;
        std::printf("%-18s %8.1f %8.1f %6.1f |", scene.name, mean, worst, 1000.0 / mean);
        for (double pass : passTotals)
            std::printf(" %5.1f %2.0f%%", pass / framesPerScene, 100.0 * pass / total);
        std::printf("\n");
    }
    setPassObserver(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const int framesPerScene = argc > 1 ? std::atoi(argv[1]) : 20;
    const bool smallOnly = argc > 2 && std::strcmp(argv[2], "--640-only") == 0;
    if (framesPerScene < 1 || framesPerScene > 1000 || argc > 3 || (argc > 2 && !smallOnly)) {
        std::fputs("usage: show_bench [frames per scene, 1..1000] [--640-only]\n", stderr);
        return 2;
    }
    std::printf("show_bench: %d frames per scene, glFinish per frame\n", framesPerScene);
    std::fflush(stdout);
    // The empty cache lives only for its run; the later runs find the user's cache as it was.
    char emptyCache[] = "/tmp/show_bench-cache-XXXXXX";
    if (!mkdtemp(emptyCache)) {
        std::perror("show_bench: mkdtemp");
        return 1;
    }
    const struct {
        uint32_t width, height;
        bool cold;
    } sizes[] = {{640, 360, true}, {640, 360, false}, {1280, 720, false}};
    for (const auto& size : sizes) {
        if (smallOnly && (size.cold || size.width != 640))
            continue;
        const pid_t child = fork();
        if (child < 0) {
            std::perror("show_bench: fork");
            return 1;
        }
        if (child == 0) {
            if (size.cold) {
                setenv("MESA_SHADER_CACHE_DIR", emptyCache, 1);
                setenv("MESA_GLSL_CACHE_DIR", emptyCache, 1);
            }
            const int status = benchSize(size.width, size.height, framesPerScene, size.cold);
            std::fflush(stdout);
            std::_Exit(status);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (size.cold)
            std::filesystem::remove_all(emptyCache);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "show_bench: the %ux%u run failed\n", size.width, size.height);
            return 1;
        }
    }
    return 0;
}
