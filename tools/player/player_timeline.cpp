#include "player_timeline.h"

#include "show/frame_rate.h"
#include "show/timeline.h"

#include <cstdio>

namespace {

// The keys and the end stop land on frames of the show at 60 fps, where `,` and `.` step.
const FrameRate sixtyFps{60, 1};

double firstFrameTimeFrom(double seconds)
{
    return sixtyFps.frameTime(sixtyFps.firstFrameFrom(uint32_t(seconds)));
}

}  // namespace

std::array<double, playerSceneCount> sceneStartTimes()
{
    std::array<double, playerSceneCount> starts{};
    for (size_t i = 0; i < starts.size(); ++i)
        starts[i] = firstFrameTimeFrom(timeline[i].start);
    return starts;
}

double showEndTime()
{
    return firstFrameTimeFrom(showEnd);
}

std::string playerTitle(double t, double framesPerSecond, bool paused)
{
    const SceneRow* row = sceneAt(t);
    char text[128];
    std::snprintf(text, sizeof text, "t %.3f s | %s %.3f s | %.1f fps%s", t, row ? row->name : "end",
                  row ? sceneTime(*row, t) : 0.0, framesPerSecond, paused ? " | paused" : "");
    return text;
}
