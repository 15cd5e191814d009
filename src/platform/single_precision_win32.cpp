// Every Windows build rounds float arithmetic at each single-precision step, as the Linux
// build does, so all of them compute the same models, normals and camera to the last bit.
// The 32-bit compiler would otherwise evaluate on the x87 unit at 80 bits and round once
// (FLT_EVAL_METHOD 2); its toolchain file asks for SSE2 arithmetic, and this stops a build
// that lost those flags.
#include <cfloat>

static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must round at every step: build with -msse2 -mfpmath=sse");
