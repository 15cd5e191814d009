#include "app/frame_loop.h"

#include "platform/platform.h"

namespace {
double currentDemoTime = 0.0;
}

double demoTime()
{
    return currentDemoTime;
}

bool runFrameAt(double t, void (*frame)(), int* swapResult)
{
    currentDemoTime = t;
    const bool quit = drainMessages();
    frame();
    const int result = swapBuffers();
    if (swapResult)
        *swapResult = result;
    return quit;
}

int runFrameLoop(void (*frame)())
{
    const int64_t frequency = performanceFrequency();
    const int64_t start = performanceCounter();
    for (;;) {
        const int64_t now = performanceCounter();
        int swapResult = 0;
        if (runFrameAt(static_cast<double>(now - start) / static_cast<double>(frequency), frame, &swapResult))
            return swapResult;
    }
}
