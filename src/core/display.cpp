#include "core/display.h"

namespace {
uint32_t screenW = 0, screenH = 0;
uint32_t windowW = 0, windowH = 0;
}

uint32_t screenWidth()
{
    return screenW;
}
uint32_t screenHeight()
{
    return screenH;
}
uint32_t windowWidth()
{
    return windowW;
}
uint32_t windowHeight()
{
    return windowH;
}

void setScreenSize(uint32_t width, uint32_t height)
{
    screenW = width;
    screenH = height;
}

void setWindowSize(uint32_t width, uint32_t height)
{
    windowW = width;
    windowH = height;
}
