#pragma once
// The show's frame callback.
struct Show;

// Polls Escape (closing the window but still drawing this frame), closes the window once the
// show has reached its end (still drawing the frame, where a scene is left to draw), and draws
// the frame at demo time t.
void timelineFrame(Show& show, double t);
