#include "player_timeline.h"

#include "show/frame_rate.h"

#include <cstdio>

namespace {

const FrameRate sixtyFps{60, 1};
// Past the timeline's hard limit, so every scan below ends.
constexpr uint64_t framesToScan = 150 * 60;

}

std::array<double, playerSceneCount> sceneStartTimes()
{
    std::array<double, playerSceneCount> starts{};
    int found = 0;
    TimelineAction previous = TimelineAction::Close;
    for (uint64_t frame = 0; frame < framesToScan && found < playerSceneCount; ++frame) {
        const TimelineAction action = timelineStep(sixtyFps.frameTime(frame)).action;
        if (action != previous && action != TimelineAction::Close)
            starts[size_t(found++)] = sixtyFps.frameTime(frame);
        previous = action;
    }
    return starts;
}

double showEndTime()
{
    uint64_t frame = 0;
    while (frame < framesToScan && !showClosesAt(sixtyFps.frameTime(frame)))
        ++frame;
    return sixtyFps.frameTime(frame);
}

const char* sceneName(TimelineAction action)
{
    switch (action) {
    case TimelineAction::TunnelIntro: return "tunnel";
    case TimelineAction::Particles: return "flash";
    case TimelineAction::Credits: return "credits";
    case TimelineAction::TunnelFireworks: return "fireworks";
    case TimelineAction::Carousel: return "carousel";
    case TimelineAction::Close: break;
    }
    return "end";
}

std::string playerTitle(double t, double framesPerSecond, bool paused)
{
    const TimelineStep step = timelineStep(t);
    char text[128];
    std::snprintf(text, sizeof text, "t %.3f s | %s %.3f s | %.1f fps%s", t, sceneName(step.action), step.sceneTime,
                  framesPerSecond, paused ? " | paused" : "");
    return text;
}
