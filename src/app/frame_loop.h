#pragma once
struct Show;

// Draws the frame of `show` at demo time t.
using FrameCallback = void (*)(Show& show, double t);

// Runs frames until the window is gone: each iteration reads the clock once (the demo time for
// the whole frame), drains the window messages, calls `frame` with that time and presents. A
// close requested during a frame is taken by the next iteration's drain, which still draws and
// presents; then the loop returns the result of that last swap. Nothing but the swap paces it.
int runFrameLoop(Show& show, FrameCallback frame);

// One iteration of that loop at a demo time the caller chooses instead of the clock's (the
// capture tool steps time frame by frame): drains the messages, calls `frame`, presents. True
// once the quit message has been taken, that is when this frame was the last one.
bool runFrameAt(Show& show, double t, FrameCallback frame, int* swapResult = nullptr);
