#pragma once
// One frame of the show at the player's demo time, drawn so that it is the frame the show plays
// at that time whatever the player drew before: it first puts back the state earlier scenes
// hand on (as `capture --time` does, for the show played at 60 fps), then calls the scene the
// timeline picks. Unlike the show's own frame it never closes the window: the player, not the
// timeline, decides when it ends.

// The frame callback for runFrameAt: draws the frame at demoTime().
void drawPlayerFrame();
