#pragma once

// The show's running order, by demo time in seconds. Each row starts where the one before ends
// (a boundary belongs to the later row); the fireworks scene takes the absolute time.
enum class TimelineAction { TunnelIntro, Particles, Credits, TunnelFireworks, Carousel, Close };

struct TimelineStep {
    TimelineAction action;
    double sceneTime;  // the argument the scene gets; 0 for Close
};

TimelineStep timelineStep(double t);

// True when the frame at demo time t is the show's last: the timeline closes the window in it
// (the frame itself is still drawn). Once true, true for every later time.
bool showClosesAt(double t);

// The frame callback: polls Escape (closing the window but still drawing this frame), then
// draws the scene the demo time selects, or closes the window once the timeline has run out.
void timelineFrame();
