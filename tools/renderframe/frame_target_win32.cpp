#include "frame_target.h"

#include "app/display.h"
#include "app/gl_api.h"
#include "app/platform.h"

bool openFrameTarget(int& width, int& height)
{
    // A window covers the desktop: the frame takes the desktop's size, whatever was asked.
    if (!createGLWindow())
        return false;
    width = int(screenWidth());
    height = int(screenHeight());
    return true;
}

void settleFrameTarget()
{
    // Present cleared frames for half a second while the window messages are handled.
    const int64_t frequency = performanceFrequency();
    const int64_t start = performanceCounter();
    while (performanceCounter() - start < frequency / 2) {
        drainMessages();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        swapBuffers();
    }
}
