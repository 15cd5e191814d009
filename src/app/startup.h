#pragma once

// The whole show: the start-up sequence, then the frame loop until the window closes. Returns
// the process exit status. The entry point of each platform calls it and nothing else.
int runShow();
