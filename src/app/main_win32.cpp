// Entry point of the Windows build. The show takes no arguments; data is found relative to
// the working directory.
#include "app/startup.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return runShow();
}
