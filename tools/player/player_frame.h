#pragma once
// One frame of the show at the player's demo time: the frame the show plays at that time at
// its 60 frames a second, whatever the player drew before. Unlike the show's own frame it never
// closes the window: the player, not the timeline, decides when it ends.
struct Show;

// The frame callback for runFrameAt.
void drawPlayerFrame(Show& show, double t);
