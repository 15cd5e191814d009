// SDL2 backend of the platform contract for the player. Where the show's backend takes the
// single-instance lock, goes full screen at the desktop's size and hears only Escape, this one
// lets the player run beside the show, opens an ordinary window at the size asked for (full
// screen only when asked) and queues every key the player knows.
#include "player_window.h"

#include "core/display.h"
#include "core/gl_api.h"
#include "platform/platform.h"

#include <SDL.h>

#include <cstdio>
#include <unistd.h>

namespace {

SDL_Window* window = nullptr;
uint32_t requestedWidth = 1280, requestedHeight = 720;
bool requestedFullscreen = false;
bool windowDestroyed = false;
bool quitTaken = false;
std::vector<KeyPress> pressed;

void* sdlLookUp(const char* name)
{
    return SDL_GL_GetProcAddress(name);
}

void queueKey(const SDL_Keysym& symbol)
{
    const bool shift = (symbol.mod & KMOD_SHIFT) != 0;
    switch (symbol.sym) {
    case SDLK_SPACE: pressed.push_back({PlayerKey::Space, shift}); break;
    case SDLK_LEFT: pressed.push_back({PlayerKey::Left, shift}); break;
    case SDLK_RIGHT: pressed.push_back({PlayerKey::Right, shift}); break;
    case SDLK_COMMA: pressed.push_back({PlayerKey::Comma, shift}); break;
    case SDLK_PERIOD: pressed.push_back({PlayerKey::Period, shift}); break;
    case SDLK_HOME: pressed.push_back({PlayerKey::Home, shift}); break;
    case SDLK_r: pressed.push_back({PlayerKey::Reload, shift}); break;
    case SDLK_ESCAPE: pressed.push_back({PlayerKey::Escape, shift}); break;
    default:
        if (symbol.sym >= SDLK_1 && symbol.sym <= SDLK_5)
            pressed.push_back({PlayerKey::Scene, shift, int(symbol.sym - SDLK_1)});
        break;
    }
}

void takeEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT: quitTaken = true; break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            quitTaken = true;
        break;
    case SDL_KEYDOWN: queueKey(event.key.keysym); break;
    default: break;
    }
}

} // namespace

void setPlayerWindowSize(uint32_t width, uint32_t height, bool fullscreen)
{
    requestedWidth = width;
    requestedHeight = height;
    requestedFullscreen = fullscreen;
}

std::vector<KeyPress> takeKeyPresses()
{
    std::vector<KeyPress> keys;
    keys.swap(pressed);
    return keys;
}

void waitForPlayerEvents(uint32_t milliseconds)
{
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, int(milliseconds)))
        takeEvent(event);
}

void setPlayerWindowTitle(const std::string& title)
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
        std::fprintf(stderr, "player: cannot enter %s, where the show's data lies\n", base);
    SDL_free(base);
    return entered;
}

bool createGLWindow()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "player: no video: %s\n", SDL_GetError());
        return false;
    }
    if (requestedFullscreen) {
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
            return false;
        setScreenSize(uint32_t(desktop.w), uint32_t(desktop.h));
    } else {
        setScreenSize(requestedWidth, requestedHeight);
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

    // Hidden at its final size until enterFullscreen shows it.
    window = SDL_CreateWindow("player", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(screenWidth()),
                              int(screenHeight()), SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        std::fprintf(stderr, "player: no window: %s\n", SDL_GetError());
        return false;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "player: no OpenGL 3.3 context: %s\n", SDL_GetError());
        return false;
    }
    if (!loadGLEntryPoints(sdlLookUp)) {
        std::fputs("player: the OpenGL driver lacks entry points the show needs\n", stderr);
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);
    applyContextDefaults();
    return true;
}

// Shows the window; the show calls this right after start-up.
void enterFullscreen()
{
    setWindowSize(screenWidth(), screenHeight());
    SDL_ShowWindow(window);
    if (requestedFullscreen)
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(window);
}

// Hidden, not destroyed, as in the show's backend: a frame may still be presented after it.
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

// The player reads Escape from its key queue; the timeline's poll, which it does not run,
// would see nothing.
bool escapePressed()
{
    return false;
}

int64_t performanceCounter()
{
    return int64_t(SDL_GetPerformanceCounter());
}

int64_t performanceFrequency()
{
    return int64_t(SDL_GetPerformanceFrequency());
}

// A player runs from a terminal: what the show puts in a message box goes there.
void showMessageBox(const char* text)
{
    std::fprintf(stderr, "%s\n", text);
}
