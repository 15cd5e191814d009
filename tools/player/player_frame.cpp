#include "player_frame.h"

#include "app/frame_loop.h"
#include "app/timeline.h"
#include "show/frame_rate.h"
#include "show/handed_on_state.h"
#include "show/scenes.h"

void drawPlayerFrame()
{
    const double t = demoTime();
    // Every frame, not only after a seek: then a frame reached by playing and one reached by
    // jumping cannot differ, whatever the display's refresh rate.
    replayHandedOnState(t, FrameRate{60, 1});

    const TimelineStep step = timelineStep(t);
    switch (step.action) {
    case TimelineAction::TunnelIntro: sceneTunnelIntro(step.sceneTime); break;
    case TimelineAction::Particles: sceneParticles(step.sceneTime); break;
    case TimelineAction::Credits: sceneCredits(step.sceneTime); break;
    case TimelineAction::TunnelFireworks: sceneTunnelFireworks(step.sceneTime); break;
    case TimelineAction::Carousel: sceneCarousel(step.sceneTime); break;
    case TimelineAction::Close: break;  // the player stops at the show's end before this
    }
}
