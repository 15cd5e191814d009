#include "show/timeline.h"

#include "show/handed_on_state.h"
#include "show/scenes.h"
#include "show/show.h"

// Chosen for the contact sheet inside each scene: the intro fading up, exposed, and burning
// out; the flash just after it fires, mid-way and dimmed; the credits coming into view, read,
// and fading to white; the fireworks at three points of their orbit; the carousel's first,
// middle and last models.
const std::array<SceneRow, sceneCount> timeline = {{
    {"tunnel intro", 0.0, 25.0, true, sceneTunnelIntro, {3.0, 7.0, 14.0}},
    {"particle flash", 25.0, 35.0, false, sceneParticles, {26.0, 29.0, 33.5}},
    {"credits", 35.0, 65.0, false, sceneCredits, {46.0, 54.0, 61.0}},
    {"fireworks", 65.0, 80.0, true, sceneTunnelFireworks, {67.0, 72.0, 78.0}},
    {"carousel", 80.0, 140.0, false, sceneCarousel, {81.5, 97.0, 114.5}},
}};

const double showEnd = timeline[carouselRow].start + carouselSculptureCount * carouselSecondsPerSculpture;

const SceneRow* sceneAt(double t)
{
    for (const SceneRow& row : timeline)
        if (t < row.end)
            return &row;
    return nullptr;
}

double sceneTime(const SceneRow& row, double t)
{
    return row.absoluteTime ? t : t - row.start;
}

void drawShowFrame(Show& show, double t)
{
    const SceneRow* row = sceneAt(t);
    if (!row)
        return;
    putHandedOnState(show, handedOnStateAt(t, show.rate));
    row->frame(show, sceneTime(*row, t));
}
