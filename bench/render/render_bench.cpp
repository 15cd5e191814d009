// Time per pass of the test frame (tunnel, ground plane and cube under both lights) at
// 640 x 360 and 1280 x 720, with glFinish around every pass so each figure is that pass's own
// work (GL timer queries are not trustworthy on llvmpipe). Prints milliseconds per pass, each
// pass's share of the frame and the growth from the small to the large size (4x the pixels).
//
//   render_bench [frames]      run in the runnable folder (reads shaders/)
#include "core/gl_api.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "render_fixture.h"
#include "test_frame.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const passNames[] = {"geometry", "light", "forward", "half", "DOF", "glow", "composite", "FXAA"};
constexpr int passCount = 8;

Clock::time_point passStart;
std::map<std::string, double> passMilliseconds;

void passDone(const char* pass)
{
    glFinish();
    const Clock::time_point now = Clock::now();
    passMilliseconds[pass] += std::chrono::duration<double, std::milli>(now - passStart).count();
    passStart = now;
}

struct Timings {
    double pass[passCount];
    double frame;
};

Timings measure(int width, int height, int frames)
{
    if (!createTestFrameObjects(width, height))
        std::exit(1);
    for (int warmUp = 0; warmUp < 2; ++warmUp)
        drawTestFrame(1.0 + warmUp, TestFrameContent{});
    passMilliseconds.clear();
    double frameTotal = 0.0;
    for (int frame = 0; frame < frames; ++frame) {
        glFinish();
        const Clock::time_point frameStart = Clock::now();
        passStart = frameStart;
        drawTestFrame(2.0 + frame * 0.1, TestFrameContent{}, passDone);
        frameTotal += std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count();
    }
    Timings timings{};
    for (int i = 0; i < passCount; ++i)
        timings.pass[i] = passMilliseconds[passNames[i]] / frames;
    timings.frame = frameTotal / frames;
    return timings;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 10;
    if (frames < 1 || frames > 1000) {
        std::fputs("usage: render_bench [frames 1..1000]\n", stderr);
        return 2;
    }
    setHeadlessScreenSize(1280, 720);
    if (!createGLWindow()) {
        std::fputs("render_bench: no OpenGL 3.3 core context\n", stderr);
        return 1;
    }
    enterFullscreen();
    createStandInTextures();
    std::printf("renderer: %s, %d frames per size, stand-in textures\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), frames);

    const Timings small = measure(640, 360, frames);
    const Timings large = measure(1280, 720, frames);

    std::printf("%-10s %12s %7s %12s %7s %7s\n", "pass", "640x360 ms", "share", "1280x720 ms", "share", "growth");
    for (int i = 0; i < passCount; ++i)
        std::printf("%-10s %12.2f %6.1f%% %12.2f %6.1f%% %6.2fx\n", passNames[i], small.pass[i],
                    100.0 * small.pass[i] / small.frame, large.pass[i], 100.0 * large.pass[i] / large.frame,
                    large.pass[i] / small.pass[i]);
    std::printf("%-10s %12.2f %6.1f%% %12.2f %6.1f%% %6.2fx\n", "frame", small.frame, 100.0, large.frame, 100.0,
                large.frame / small.frame);
    return 0;
}
