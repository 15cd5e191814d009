#include "app/frame_loop.h"

#include "platform/platform.h"

bool runFrameAt(Show& show, double t, FrameCallback frame, int* swapResult)
{
    const bool quit = drainMessages();
    frame(show, t);
    const int result = swapBuffers();
    if (swapResult)
        *swapResult = result;
    return quit;
}

int runFrameLoop(Show& show, FrameCallback frame)
{
    const int64_t frequency = performanceFrequency();
    const int64_t start = performanceCounter();
    for (;;) {
        const int64_t now = performanceCounter();
        int swapResult = 0;
        if (runFrameAt(show, static_cast<double>(now - start) / static_cast<double>(frequency), frame, &swapResult))
            return swapResult;
    }
}
