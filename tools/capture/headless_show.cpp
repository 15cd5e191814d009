#include "headless_show.h"

#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/timeline_frame.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"

#include <cstdlib>

Show* startHeadlessShow(uint32_t width, uint32_t height, int& exitStatus)
{
    // The music is loaded as start-up loads it but never played: keep the sound card free.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setHeadlessScreenSize(width, height);
    const StartedShow started = startShow();
    if (!started.show) {
        exitStatus = started.exitStatus();
        return nullptr;
    }
    exitStatus = 0;
    enterFullscreen();
    return started.show;
}

bool presentShowFrame(Show& show, double t)
{
    runFrameAt(show, t, timelineFrame);
    return headlessWindowClosed();
}

std::vector<uint8_t> captureShowFrame(Show& show, double t, bool* last)
{
    const bool closed = presentShowFrame(show, t);
    if (last)
        *last = closed;
    uint32_t width = 0, height = 0;
    return readPresentedFrame(width, height);
}
