#include "frame_target.h"

#include "app/platform.h"
#include "app/platform_headless.h"

bool openFrameTarget(int& width, int& height)
{
    setHeadlessScreenSize(uint32_t(width), uint32_t(height));
    return createGLWindow();
}

void settleFrameTarget()
{
    // A pbuffer has its full size from the start.
}
