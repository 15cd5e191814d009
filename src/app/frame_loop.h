#pragma once

// Runs frames until the window is gone: each iteration reads the clock once (the demo time for
// the whole frame), drains the window messages, calls `frame` and presents. A close requested
// during a frame is taken by the next iteration's drain, which still draws and presents; then
// the loop returns the result of that last swap. Nothing but the swap paces it.
int runFrameLoop(void (*frame)());

// One iteration of that loop at a demo time the caller chooses instead of the clock's (the
// capture tool steps time frame by frame): drains the messages, calls `frame`, presents. True
// once the quit message has been taken, that is when this frame was the last one.
bool runFrameAt(double t, void (*frame)(), int* swapResult = nullptr);

// Seconds since the loop began, one value per frame.
double demoTime();
