// Win32 backend of the platform contract: the single-instance mutex, the window and its WGL
// context, the message queue, the keyboard, the clock and the message box. All of the show's
// Win32 and WGL code lives here.
//
// The context is made in two passes: a throw-away window with a legacy context is needed only
// to fetch the WGL extensions that can ask for an sRGB-capable pixel format and a 3.3 context.
#include "platform/platform.h"

#include "core/display.h"
#include "core/gl_api.h"
#include "platform/proc_address.h"
#include "platform/quit_latch.h"
#include "platform/startup_report.h"

#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

constexpr const char* windowClassName = "ovagl";  // also the single-instance mutex's name

// WGL_ARB_pixel_format, WGL_ARB_create_context, WGL_ARB_framebuffer_sRGB.
constexpr int WGL_DRAW_TO_WINDOW_ARB = 0x2001;
constexpr int WGL_SUPPORT_OPENGL_ARB = 0x2010;
constexpr int WGL_DOUBLE_BUFFER_ARB = 0x2011;
constexpr int WGL_PIXEL_TYPE_ARB = 0x2013;
constexpr int WGL_TYPE_RGBA_ARB = 0x202B;
constexpr int WGL_COLOR_BITS_ARB = 0x2014;
constexpr int WGL_FRAMEBUFFER_SRGB_CAPABLE_ARB = 0x20A9;
constexpr int WGL_DEPTH_BITS_ARB = 0x2022;
constexpr int WGL_STENCIL_BITS_ARB = 0x2023;
constexpr int WGL_CONTEXT_MAJOR_VERSION_ARB = 0x2091;
constexpr int WGL_CONTEXT_MINOR_VERSION_ARB = 0x2092;

using SwapIntervalProc = BOOL(WINAPI*)(int interval);
using ChoosePixelFormatProc = BOOL(WINAPI*)(HDC, const int* intAttributes, const FLOAT* floatAttributes,
                                            UINT maxFormats, int* formats, UINT* formatCount);
using CreateContextAttribsProc = HGLRC(WINAPI*)(HDC, HGLRC shareContext, const int* attributes);

SwapIntervalProc wglSwapIntervalEXT = nullptr;
ChoosePixelFormatProc wglChoosePixelFormatARB = nullptr;
CreateContextAttribsProc wglCreateContextAttribsARB = nullptr;

HINSTANCE instance = nullptr;
HWND window = nullptr;
HDC deviceContext = nullptr;
QuitLatch quit(WM_QUIT);

// No colour, depth or stencil bits asked: the legacy format only has to support OpenGL.
// clang-format off
const PIXELFORMATDESCRIPTOR legacyPixelFormat = {sizeof(PIXELFORMATDESCRIPTOR), 1, PFD_SUPPORT_OPENGL,
                                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

const int pixelFormatAttributes[] = {
    WGL_DRAW_TO_WINDOW_ARB, 1,
    WGL_SUPPORT_OPENGL_ARB, 1,
    WGL_DOUBLE_BUFFER_ARB, 1,
    WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB,
    WGL_COLOR_BITS_ARB, 24,
    WGL_FRAMEBUFFER_SRGB_CAPABLE_ARB, 1,
    WGL_DEPTH_BITS_ARB, 0,     // all depth and stencil work happens in the render targets
    WGL_STENCIL_BITS_ARB, 0,
    0};

// Only the version: the default profile of a 3.3 context is core.
const int contextAttributes[] = {
    WGL_CONTEXT_MAJOR_VERSION_ARB, 3,
    WGL_CONTEXT_MINOR_VERSION_ARB, 3,
    0};
// clang-format on

LRESULT CALLBACK demoWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SYSCOMMAND:
        // Compared whole: keep the screen saver and monitor power-off away during the show.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

WNDCLASSEXA windowClass(WNDPROC procedure)
{
    WNDCLASSEXA windowClassRecord = {};
    windowClassRecord.cbSize = sizeof(WNDCLASSEXA);
    windowClassRecord.style = CS_CLASSDC;
    windowClassRecord.lpfnWndProc = procedure;
    windowClassRecord.hInstance = instance;
    windowClassRecord.lpszClassName = windowClassName;
    return windowClassRecord;
}

void* wglLookUp(const char* name)
{
    return usableProcAddress(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

// Fetches one WGL extension; records which one is missing when there is none.
template <typename Proc> bool fetchWglExtension(Proc& slot, const char* name)
{
    slot = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(wglLookUp(name)));
    return slot != nullptr || windowFailed(std::string("The OpenGL driver lacks the WGL extension function ") + name +
                                           ", which the show needs to ask for an sRGB framebuffer and a 3.3 context.");
}

bool loadWglExtensions()
{
    return fetchWglExtension(wglSwapIntervalEXT, "wglSwapIntervalEXT") &&
           fetchWglExtension(wglChoosePixelFormatARB, "wglChoosePixelFormatARB") &&
           fetchWglExtension(wglCreateContextAttribsARB, "wglCreateContextAttribsARB");
}

}  // namespace

bool createGLWindow()
{
    instance = GetModuleHandleA(nullptr);

    // The mutex stays open for the life of the process: the name is taken while this copy runs.
    CreateMutexA(nullptr, FALSE, windowClassName);
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return secondCopyRefused();

    // First pass: a throw-away window with a legacy context, to reach the WGL extensions.
    WNDCLASSEXA firstClass = windowClass(DefWindowProcW);
    RegisterClassExA(&firstClass);
    HWND firstWindow = CreateWindowExA(0, windowClassName, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    HDC firstDeviceContext = GetDC(firstWindow);
    SetPixelFormat(firstDeviceContext, ChoosePixelFormat(firstDeviceContext, &legacyPixelFormat), &legacyPixelFormat);
    wglMakeCurrent(firstDeviceContext, wglCreateContext(firstDeviceContext));
    if (!loadWglExtensions())
        return false;
    // The legacy context stays current (its window gone) until the real one replaces it.
    DestroyWindow(firstWindow);
    UnregisterClassA(windowClassName, instance);

    setScreenSize(static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN)),
                  static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN)));

    // Second pass: the demo window, hidden at 0 by 0 until it goes full screen.
    WNDCLASSEXA demoClass = windowClass(demoWindowProc);
    RegisterClassExA(&demoClass);
    window =
        CreateWindowExA(WS_EX_APPWINDOW, windowClassName, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    deviceContext = GetDC(window);

    int pixelFormat = 0;
    UINT formatCount = 0;
    if (!wglChoosePixelFormatARB(deviceContext, pixelFormatAttributes, nullptr, 1, &pixelFormat, &formatCount) ||
        formatCount == 0)
        return windowFailed("The OpenGL driver has no pixel format with 24-bit colour, double buffering and "
                            "sRGB for the window.");
    SetPixelFormat(deviceContext, pixelFormat, &legacyPixelFormat);

    HGLRC context = wglCreateContextAttribsARB(deviceContext, nullptr, contextAttributes);
    if (!context)
        return windowFailed("The OpenGL driver could not create an OpenGL 3.3 context.");

    // Fetched with the final context current: on some drivers an address serves only the
    // context that was current when it was looked up.
    if (!wglMakeCurrent(deviceContext, context))
        return windowFailed("The OpenGL 3.3 context could not be made current.");
    if (!loadGLEntryPoints(wglLookUp))
        return windowFailed(missingEntryPointLine(firstMissingGLEntryPoint()));

    wglSwapIntervalEXT(1);
    applyContextDefaults();
    return true;
}

void enterFullscreen()
{
    setWindowSize(screenWidth(), screenHeight());
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_MAXIMIZE));
    SetWindowPos(window, nullptr, 0, 0, static_cast<int>(screenWidth()), static_cast<int>(screenHeight()),
                 SWP_NOREDRAW | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOCOPYBITS | SWP_NOSENDCHANGING |
                     SWP_DEFERERASE | SWP_ASYNCWINDOWPOS);
}

void closeWindow()
{
    DestroyWindow(window);
}

void hideCursor()
{
    ShowCursor(FALSE);
}

bool drainMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        quit.note(message.message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit.quitTaken();
}

int swapBuffers()
{
    return SwapBuffers(deviceContext);
}

bool escapePressed()
{
    return GetAsyncKeyState(VK_ESCAPE) != 0;
}

int64_t performanceCounter()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

int64_t performanceFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

void showMessageBox(const char* text)
{
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}
