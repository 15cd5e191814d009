#include "headless_show.h"

#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/timeline.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "show/handed_on_state.h"

#include <cstdlib>

bool startHeadlessShow(uint32_t width, uint32_t height, int& exitStatus)
{
    // The music is loaded as start-up loads it but never played: keep the sound card free.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setHeadlessScreenSize(width, height);
    if (!startShow(exitStatus))
        return false;
    enterFullscreen();
    return true;
}

bool drawShowFrameOnly(double t)
{
    runFrameAt(t, timelineFrame);
    return headlessWindowClosed();
}

void replayShowStateFor(double t, const FrameRate& rate)
{
    replayHandedOnState(t, rate);
}

std::vector<uint8_t> drawShowFrame(double t, bool& last)
{
    last = drawShowFrameOnly(t);
    uint32_t width = 0, height = 0;
    return readPresentedFrame(width, height);
}

std::vector<uint8_t> drawShowFrameAlone(double t, const FrameRate& rate)
{
    replayShowStateFor(t, rate);
    bool last = false;
    return drawShowFrame(t, last);
}
