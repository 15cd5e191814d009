// SDL2 backend of the platform contract, for the Linux port. It gives each operation the
// meaning the Win32 backend has: one copy at a time (a lock named "ovagl"), a hidden window
// until it goes full screen, an OpenGL 3.3 core context with an sRGB-capable double-buffered
// framebuffer and no depth or stencil, vertical sync, and closing the window ends the show.
// The player sets the options of platform_sdl.h for a window of its own beside the show.
#include "platform/platform.h"
#include "platform/platform_sdl.h"

#include "core/display.h"
#include "core/gl_api.h"
#include "platform/single_instance.h"
#include "platform/startup_report.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

SdlWindowOptions options;
SDL_Window* window = nullptr;
bool windowDestroyed = false;
bool quitTaken = false;
bool escapeWentDown = false;  // since the last escapePressed
std::vector<WindowKeyPress> keysPressed;

void* sdlLookUp(const char* name)
{
    return SDL_GL_GetProcAddress(name);
}

// Records what failed with SDL's own reason after it; returns false.
bool sdlFailed(const std::string& what)
{
    return windowFailed(what + ": " + SDL_GetError());
}

void queueKey(const SDL_Keysym& symbol)
{
    const bool shift = (symbol.mod & KMOD_SHIFT) != 0;
    switch (symbol.sym) {
    case SDLK_SPACE: keysPressed.push_back({WindowKey::Space, shift}); break;
    case SDLK_LEFT: keysPressed.push_back({WindowKey::Left, shift}); break;
    case SDLK_RIGHT: keysPressed.push_back({WindowKey::Right, shift}); break;
    case SDLK_COMMA: keysPressed.push_back({WindowKey::Comma, shift}); break;
    case SDLK_PERIOD: keysPressed.push_back({WindowKey::Period, shift}); break;
    case SDLK_HOME: keysPressed.push_back({WindowKey::Home, shift}); break;
    case SDLK_r: keysPressed.push_back({WindowKey::R, shift}); break;
    case SDLK_ESCAPE: keysPressed.push_back({WindowKey::Escape, shift}); break;
    default:
        if (symbol.sym >= SDLK_1 && symbol.sym <= SDLK_5)
            keysPressed.push_back({WindowKey(int(WindowKey::Digit1) + int(symbol.sym - SDLK_1)), shift});
        break;
    }
}

void takeEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        closeWindow();
        quitTaken = true;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            closeWindow();
            quitTaken = true;
        }
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE)
            escapeWentDown = true;
        if (options.queueKeys)
            queueKey(event.key.keysym);
        break;
    }
}

void APIENTRY printDebugMessage(GLenum, GLenum, GLuint, GLenum, GLsizei, const GLchar* message, const void*)
{
    std::fprintf(stderr, "GL debug: %s\n", message);
}

// Hands the debug context's messages, notifications aside, to printDebugMessage, as they
// happen. A driver without KHR_debug gives a context without messages and a line that says so.
void printDebugMessages()
{
    const auto callback =
        reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(SDL_GL_GetProcAddress("glDebugMessageCallback"));
    const auto control = reinterpret_cast<PFNGLDEBUGMESSAGECONTROLPROC>(SDL_GL_GetProcAddress("glDebugMessageControl"));
    if (!SDL_GL_ExtensionSupported("GL_KHR_debug") || !callback || !control) {
        std::fputs("GL debug: the driver has no KHR_debug; no messages will be printed\n", stderr);
        return;
    }
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    control(GL_DONT_CARE, GL_DONT_CARE, GL_DEBUG_SEVERITY_NOTIFICATION, 0, nullptr, GL_FALSE);
    callback(printDebugMessage, nullptr);
}

}  // namespace

void setSdlWindowOptions(const SdlWindowOptions& chosen)
{
    options = chosen;
}

std::vector<WindowKeyPress> takeWindowKeys()
{
    std::vector<WindowKeyPress> keys;
    keys.swap(keysPressed);
    return keys;
}

void waitForWindowEvents(uint32_t milliseconds)
{
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, int(milliseconds)))
        takeEvent(event);
}

void setWindowTitle(const std::string& title)
{
    if (window)
        SDL_SetWindowTitle(window, title.c_str());
}

bool enterExecutableFolder()
{
    char* base = SDL_GetBasePath();
    if (!base)
        return true;
    const bool entered = chdir(base) == 0;
    if (!entered)
        std::fprintf(stderr, "Could not enter the show's folder %s: %s\n", base, std::strerror(errno));
    SDL_free(base);
    return entered;
}

bool createGLWindow()
{
    if (options.singleInstance && !takeSingleInstanceLock("ovagl"))
        return secondCopyRefused();

    // Keep the desktop's compositor running, and the screen saver away while the show runs.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return sdlFailed("Could not open the display");
    // With no display to be had SDL falls back to drawing off screen, where the show would play
    // for two minutes with nothing to see. Only a driver asked for by name (SDL_VIDEODRIVER)
    // may do that.
    if (!SDL_getenv("SDL_VIDEODRIVER") && (SDL_strcmp(SDL_GetCurrentVideoDriver(), "offscreen") == 0 ||
                                           SDL_strcmp(SDL_GetCurrentVideoDriver(), "dummy") == 0))
        return windowFailed("Could not open the display: there is none (neither DISPLAY nor WAYLAND_DISPLAY is "
                            "set, and no console display can be had)");
    SDL_DisableScreenSaver();

    if (options.fullscreen) {
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
            return sdlFailed("Could not read the desktop's size");
        setScreenSize(static_cast<uint32_t>(desktop.w), static_cast<uint32_t>(desktop.h));
    } else {
        setScreenSize(options.width, options.height);
    }

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_FRAMEBUFFER_SRGB_CAPABLE, 1);
    if (options.debugContext)
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_DEBUG_FLAG);

    // Hidden until enterFullscreen: borderless and as small as SDL allows for the full screen,
    // centred at its final size for a window.
    if (options.fullscreen)
        window =
            SDL_CreateWindow(options.title, 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    else
        window = SDL_CreateWindow(options.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  static_cast<int>(screenWidth()), static_cast<int>(screenHeight()),
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
        return sdlFailed("Could not create an OpenGL window with 8-bit sRGB colour and double buffering");
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
        return sdlFailed("Could not create an OpenGL 3.3 core context");
    if (SDL_GL_MakeCurrent(window, context) != 0)
        return sdlFailed("Could not make the OpenGL 3.3 context current");
    if (!loadGLEntryPoints(sdlLookUp))
        return windowFailed(missingEntryPointLine(firstMissingGLEntryPoint()));

    SDL_GL_SetSwapInterval(1);
    applyContextDefaults();
    if (options.debugContext)
        printDebugMessages();
    return true;
}

void enterFullscreen()
{
    if (!options.fullscreen) {
        setWindowSize(screenWidth(), screenHeight());
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
        return;
    }
    // A borderless window over the whole desktop at its own resolution: no mode change. Placed
    // and sized first, so it covers the screen even where no window manager honours the
    // full-screen state.
    setWindowSize(screenWidth(), screenHeight());
    SDL_SetWindowPosition(window, 0, 0);
    SDL_SetWindowSize(window, static_cast<int>(screenWidth()), static_cast<int>(screenHeight()));
    SDL_ShowWindow(window);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(window);
}

// The window is hidden rather than destroyed: the show still draws and presents one more
// frame after a close, and under X a context whose drawable is gone makes that an X error.
// The process ends right after, which frees the window.
void closeWindow()
{
    SDL_HideWindow(window);
    windowDestroyed = true;
}

void hideCursor()
{
    SDL_ShowCursor(SDL_DISABLE);
}

bool drainMessages()
{
    // A window destroyed during the last frame posts its quit now, as WM_DESTROY would have.
    if (windowDestroyed)
        quitTaken = true;

    SDL_Event event;
    while (SDL_PollEvent(&event))
        takeEvent(event);
    return quitTaken;
}

int swapBuffers()
{
    SDL_GL_SwapWindow(window);
    return 1;
}

bool escapePressed()
{
    SDL_PumpEvents();
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    const bool pressed = escapeWentDown || keys[SDL_SCANCODE_ESCAPE];
    escapeWentDown = false;
    return pressed;
}

int64_t performanceCounter()
{
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t performanceFrequency()
{
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

void showMessageBox(const char* text)
{
    if (options.messagesOnStandardError)
        std::fprintf(stderr, "%s\n", text);
    else
        SDL_ShowSimpleMessageBox(0, "", text, nullptr);
}
