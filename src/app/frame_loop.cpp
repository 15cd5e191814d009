#include "app/frame_loop.h"

#include "app/platform.h"

namespace {
double currentDemoTime = 0.0;
}

double demoTime()
{
    return currentDemoTime;
}

int runFrameLoop(void (*frame)())
{
    const int64_t frequency = performanceFrequency();
    const int64_t start = performanceCounter();
    for (;;) {
        const int64_t now = performanceCounter();
        currentDemoTime = static_cast<double>(now - start) / static_cast<double>(frequency);
        const bool quit = drainMessages();
        frame();
        const int swapResult = swapBuffers();
        if (quit)
            return swapResult;
    }
}
