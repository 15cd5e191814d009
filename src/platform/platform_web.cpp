// Web backend of the platform contract: a WebGL2 canvas in a static page, through emscripten's
// html5 API. The page (app/web_page.html) holds the canvas, the start screen and the message
// line. Waiting (for the display refresh, for the start click) lets the page run: the program
// is built with asyncify, so the frame loop keeps its shape.
//
// Full screen and sound both need a user gesture, so the page's click handler asks for both;
// enterFullscreen then only takes the size. Leaving full screen (the browser's own Escape, which
// the page never sees as a key) counts as Escape.
#include "platform/platform.h"
#include "platform/platform_web.h"

#include "core/display.h"
#include "core/gl_api.h"
#include "platform/startup_report.h"
#include "platform/webgl2_layer.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <string>

namespace {

uint32_t stillWidth = 0, stillHeight = 0;  // 0: the screen's size
bool windowClosed = false;
bool quitTaken = false;
bool escapeHeld = false;
bool escapeWentDown = false;  // since the last escapePressed
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void*)
{
    if (std::string(event->key) != "Escape")
        return EM_FALSE;
    escapeHeld = type == EMSCRIPTEN_EVENT_KEYDOWN;
    escapeWentDown = escapeWentDown || escapeHeld;
    return EM_TRUE;
}

EM_BOOL onFullscreenChange(int, const EmscriptenFullscreenChangeEvent* event, void*)
{
    if (!event->isFullscreen)
        escapeWentDown = true;
    return EM_FALSE;
}

// The screen in device pixels, as the show draws at the display's own resolution.
void readScreenSize(uint32_t& width, uint32_t& height)
{
    const double ratio = emscripten_get_device_pixel_ratio();
    int w = 0, h = 0;
    emscripten_get_screen_size(&w, &h);
    width = uint32_t(std::lround(w * ratio));
    height = uint32_t(std::lround(h * ratio));
}

// JavaScript, laid out by hand.
// clang-format off
EM_JS(void, pageShowCanvas, (), { Module.showPage.showCanvas(); });
EM_JS(void, pageShowStart, (), { Module.showPage.showStart(); });
EM_JS(void, pageHideCursor, (), { Module.canvas.style.cursor = 'none'; });
EM_JS(void, pageMessage, (const char* text), { Module.showPage.message(UTF8ToString(text)); });
EM_JS(void, pageTitle, (const char* text), { document.title = UTF8ToString(text); });
// clang-format on
// Counts the frames shown, for the page's frame rate.
// JavaScript, laid out by hand.
// clang-format off
EM_ASYNC_JS(void, pageNextFrame, (), {
    Module.showFrames = (Module.showFrames || 0) + 1;
    await new Promise(resolve => requestAnimationFrame(resolve));
});
EM_ASYNC_JS(void, pageStartClicked, (), { await Module.showPage.startClicked(); });
// clang-format on

}  // namespace

void setWebScreenSize(uint32_t width, uint32_t height)
{
    stillWidth = width;
    stillHeight = height;
}

bool createGLWindow()
{
    uint32_t width = stillWidth, height = stillHeight;
    if (width == 0 || height == 0)
        readScreenSize(width, height);
    setScreenSize(width, height);

    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    // A still moment stays readable after it is drawn.
    attributes.preserveDrawingBuffer = stillWidth != 0 ? EM_TRUE : EM_FALSE;
    attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    attributes.enableExtensionsByDefault = EM_FALSE;
    context = emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0)
        return windowFailed("This browser offers no WebGL2, which the show needs.");
    emscripten_webgl_make_context_current(context);
    if (!emscripten_webgl_enable_extension(context, "EXT_color_buffer_float"))
        return windowFailed("This browser's WebGL2 cannot draw into floating-point images "
                            "(EXT_color_buffer_float), which the show needs.");
    // Blending into the light buffers, sharper textures at an angle and the fireworks' depth
    // clamp: the show draws without them, a little differently. The renderer's own name tells
    // the texture loader whether the browser draws in software.
    for (const char* optional :
         {"EXT_float_blend", "EXT_texture_filter_anisotropic", "EXT_depth_clamp", "WEBGL_debug_renderer_info"})
        emscripten_webgl_enable_extension(context, optional);
    emscripten_set_canvas_element_size("#canvas", int(width), int(height));

    if (!loadGLEntryPoints(webgl2ProcAddress))
        return windowFailed(missingEntryPointLine(firstMissingGLEntryPoint()));
    applyContextDefaults();

    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onFullscreenChange);
    return true;
}

void enterFullscreen()
{
    setWindowSize(screenWidth(), screenHeight());
    pageShowCanvas();
}

void closeWindow()
{
    windowClosed = true;
    if (stillWidth == 0) {
        emscripten_exit_fullscreen();
        pageShowStart();
    }
}

void reopenWebWindow()
{
    windowClosed = false;
    quitTaken = false;
    escapeHeld = false;
    escapeWentDown = false;
}

void hideCursor()
{
    pageHideCursor();
}

bool drainMessages()
{
    // The page's events have been handled while the last swap waited.
    if (windowClosed)
        quitTaken = true;
    return quitTaken;
}

int swapBuffers()
{
    // The browser shows the canvas once control goes back to it, and calls back at the next
    // display refresh.
    pageNextFrame();
    return 1;
}

bool escapePressed()
{
    const bool pressed = escapeWentDown || escapeHeld;
    escapeWentDown = false;
    return pressed;
}

int64_t performanceCounter()
{
    return int64_t(emscripten_get_now() * 1000.0);
}

int64_t performanceFrequency()
{
    return 1000000;  // microseconds: performance.now() counts milliseconds with a fraction
}

void showMessageBox(const char* text)
{
    pageMessage(text);
}

void waitForStartClick()
{
    pageShowStart();
    pageStartClicked();
    escapeHeld = false;
    escapeWentDown = false;
}

void setPageTitle(const char* title)
{
    pageTitle(title);
}
