// Headless backend of the platform contract: an OpenGL 3.3 core context through EGL, with no
// display at all. On Mesa it uses the surfaceless platform (llvmpipe on a machine without a
// GPU); where that is missing it takes the first EGL device (a GPU machine without X). The
// "window" is an sRGB pbuffer surface of the stand-in screen size, so the show's passes draw to
// framebuffer 0 exactly as they would on screen, and tests read the presented frame back.
#include "platform/platform.h"
#include "platform/platform_headless.h"

#include "core/display.h"
#include "core/frame_readback.h"
#include "core/gl_api.h"
#include "platform/startup_report.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLSurface surface = EGL_NO_SURFACE;
EGLContext context = EGL_NO_CONTEXT;

uint32_t standInWidth = 640, standInHeight = 360;
bool windowDestroyed = false;
bool quitTaken = false;
bool escapeHeld = false;
int swapCount = 0;

void* lookUpGLFunction(const char* name)
{
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

// Records what failed with EGL's error code after it; returns false.
bool eglFailed(const std::string& what)
{
    char code[32];
    std::snprintf(code, sizeof code, " (EGL error 0x%04X)", unsigned(eglGetError()));
    return windowFailed(what + code);
}

EGLDisplay openDisplay()
{
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay)
        return eglGetDisplay(EGL_DEFAULT_DISPLAY);

    EGLDisplay surfaceless = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (surfaceless != EGL_NO_DISPLAY && eglInitialize(surfaceless, nullptr, nullptr))
        return surfaceless;

    auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    EGLDeviceEXT device;
    EGLint deviceCount = 0;
    if (queryDevices && queryDevices(1, &device, &deviceCount) && deviceCount > 0)
        return getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

}  // namespace

void setHeadlessScreenSize(uint32_t width, uint32_t height)
{
    standInWidth = width;
    standInHeight = height;
}

void setHeadlessEscapeHeld(bool held)
{
    escapeHeld = held;
}

void reopenHeadlessWindow()
{
    windowDestroyed = quitTaken = false;
    setWindowSize(0, 0);
}

bool headlessWindowClosed()
{
    return windowDestroyed;
}

int headlessSwapCount()
{
    return swapCount;
}

bool createGLWindow()
{
    display = openDisplay();
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return eglFailed("Could not open an EGL display (surfaceless or device)");
    if (!eglBindAPI(EGL_OPENGL_API))
        return eglFailed("This EGL display offers no desktop OpenGL");

    // clang-format off
    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
        EGL_DEPTH_SIZE, 0, EGL_STENCIL_SIZE, 0,
        EGL_NONE};
    // clang-format on
    // EGL lists deeper colour first; Mesa makes no sRGB surface of a 10-bit config, so take
    // the first with exactly 8 bits a channel, as the window's pixel format has.
    EGLConfig configs[64];
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, configs, 64, &configCount))
        return eglFailed("Could not list the EGL configurations");
    EGLConfig config = nullptr;
    for (EGLint i = 0; i < configCount && !config; ++i) {
        EGLint red = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
        if (red == 8)
            config = configs[i];
    }
    if (!config)
        return windowFailed("No EGL configuration has 8-bit colour channels for an OpenGL pbuffer");

    // clang-format off
    const EGLint surfaceAttributes[] = {
        EGL_WIDTH, static_cast<EGLint>(standInWidth),
        EGL_HEIGHT, static_cast<EGLint>(standInHeight),
        EGL_GL_COLORSPACE_KHR, EGL_GL_COLORSPACE_SRGB_KHR,
        EGL_NONE};
    // clang-format on
    surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE)
        return eglFailed("Could not create an sRGB pbuffer of " + std::to_string(standInWidth) + "x" +
                         std::to_string(standInHeight));

    // clang-format off
    const EGLint contextAttributes[] = {
        EGL_CONTEXT_MAJOR_VERSION, 3,
        EGL_CONTEXT_MINOR_VERSION, 3,
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
        EGL_NONE};
    // clang-format on
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT)
        return eglFailed("Could not create an OpenGL 3.3 core context");
    if (!eglMakeCurrent(display, surface, surface, context))
        return eglFailed("Could not make the OpenGL 3.3 context current");
    if (!loadGLEntryPoints(lookUpGLFunction))
        return windowFailed(missingEntryPointLine(firstMissingGLEntryPoint()));

    setScreenSize(standInWidth, standInHeight);
    setWindowSize(0, 0);
    windowDestroyed = quitTaken = false;
    eglSwapInterval(display, 1);
    applyContextDefaults();
    return true;
}

void enterFullscreen()
{
    setWindowSize(screenWidth(), screenHeight());
}

void closeWindow()
{
    windowDestroyed = true;
}

void hideCursor() {}

bool drainMessages()
{
    // The destruction of the window posts the quit message; the drain after it takes it.
    if (windowDestroyed)
        quitTaken = true;
    return quitTaken;
}

int swapBuffers()
{
    ++swapCount;
    // A pbuffer has one buffer: swapping is a no-op, so finish the frame as a display would.
    glFinish();
    return eglSwapBuffers(display, surface) ? 1 : 0;
}

bool escapePressed()
{
    return escapeHeld;
}

int64_t performanceCounter()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t performanceFrequency()
{
    return 1000000000;
}

void showMessageBox(const char* text)
{
    std::fprintf(stderr, "%s\n", text);
}

std::vector<uint8_t> readPresentedFrame(uint32_t& width, uint32_t& height)
{
    // A pbuffer has a single buffer: after the swap it still holds the presented frame.
    width = screenWidth();
    height = screenHeight();
    return readDefaultFramebuffer(width, height);
}
