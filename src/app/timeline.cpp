#include "app/timeline.h"

#include "app/frame_loop.h"
#include "platform/platform.h"
#include "show/scenes.h"

TimelineStep timelineStep(double t)
{
    if (t < 25.0)
        return {TimelineAction::TunnelIntro, t};
    if (t < 35.0)
        return {TimelineAction::Particles, t - 25.0};
    if (t < 65.0)
        return {TimelineAction::Credits, t - 35.0};
    if (t < 80.0)
        return {TimelineAction::TunnelFireworks, t};
    if (t < 140.0)
        return {TimelineAction::Carousel, t - 80.0};
    return {TimelineAction::Close, 0.0};
}

bool showClosesAt(double t)
{
    const TimelineStep step = timelineStep(t);
    return step.action == TimelineAction::Close ||
           (step.action == TimelineAction::Carousel && carouselClosesShow(step.sceneTime));
}

void timelineFrame()
{
    if (escapePressed())
        closeWindow();

    const TimelineStep step = timelineStep(demoTime());
    switch (step.action) {
    case TimelineAction::TunnelIntro: sceneTunnelIntro(step.sceneTime); break;
    case TimelineAction::Particles: sceneParticles(step.sceneTime); break;
    case TimelineAction::Credits: sceneCredits(step.sceneTime); break;
    case TimelineAction::TunnelFireworks: sceneTunnelFireworks(step.sceneTime); break;
    case TimelineAction::Carousel:
        // The last sculpture has turned: the show ends itself, and this frame is still drawn.
        if (carouselClosesShow(step.sceneTime))
            closeWindow();
        sceneCarousel(step.sceneTime);
        break;
    case TimelineAction::Close: closeWindow(); break;
    }
}
