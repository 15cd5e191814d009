// The Win32 message drain, run for real (under wine in CI): a quit that is not the last message
// of its drain must still be taken, and stay taken in every later drain. Built only for the
// Windows presets, as a console program beside the build (not in the runnable folder or the
// zip). Prints what it checked; exits 0 when every check holds, 1 otherwise.
#include "platform/platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

namespace {

int failures = 0;

void check(bool holds, const char* what)
{
    std::printf("%s: %s\n", holds ? "ok" : "FAILED", what);
    if (!holds)
        ++failures;
}

}

int main()
{
    // A thread has a message queue once it first asks for a message.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    const DWORD thread = GetCurrentThreadId();

    check(!drainMessages(), "an empty queue is no quit");

    PostThreadMessageW(thread, WM_APP, 0, 0);
    check(!drainMessages(), "another message is no quit");

    // Posted messages come out in the order posted, so the quit is taken before the one behind it.
    PostThreadMessageW(thread, WM_QUIT, 0, 0);
    PostThreadMessageW(thread, WM_APP + 1, 0, 0);
    check(drainMessages(), "a quit followed by another message in the same drain is taken");
    check(!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE), "that drain left the queue empty");

    PostThreadMessageW(thread, WM_APP + 2, 0, 0);
    check(drainMessages(), "a later drain still reports the quit");

    return failures == 0 ? 0 : 1;
}
