// player: the show for the people who make it. The same start-up and the same scenes as the
// show, in a window, with demo time in the creator's hands and the soundtrack following it:
//
//   player [--time T] [--paused] [--size WxH] [--fullscreen]
//
//   Space       pause / resume          Home        back to 0
//   Left Right  one second back / on    1 to 5      the start of each scene
//   (Shift: ten seconds)                R           reload every shader from disk
//   , .         one frame at 60 fps back / on, while paused
//   Escape      quit
//
// Saving a file in shaders/ or its shared code in shaders/common/ reloads them as R does.
//
// Its data is the show's, beside the executable: run it from anywhere.
#include "player_frame.h"
#include "player_options.h"
#include "player_session.h"
#include "player_timeline.h"
#include "shader_watch.h"

#include "app/frame_loop.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "platform/platform_sdl.h"
#include "render/shader_library.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Frames drawn over the last whole second, for the title.
class FrameRateMeter {
public:
    FrameRateMeter(int64_t frequency, int64_t now) : frequency_(frequency), windowStart_(now) {}

    void frameDrawn(int64_t now)
    {
        ++frames_;
        if (now - windowStart_ >= frequency_) {
            rate_ = double(frames_) * double(frequency_) / double(now - windowStart_);
            frames_ = 0;
            windowStart_ = now;
        }
    }
    double rate() const { return rate_; }

private:
    int64_t frequency_;
    int64_t windowStart_;
    int frames_ = 0;
    double rate_ = 0.0;
};

void reload()
{
    const int kept = reloadShaders();
    if (kept)
        std::fprintf(stderr, "player: shaders reloaded; %d program(s) kept their last good build\n", kept);
    else
        std::fputs("player: shaders reloaded\n", stderr);
}

KeyPress playerKeyFor(const WindowKeyPress& press)
{
    switch (press.key) {
    case WindowKey::Space: return {PlayerKey::Space, press.shift};
    case WindowKey::Left: return {PlayerKey::Left, press.shift};
    case WindowKey::Right: return {PlayerKey::Right, press.shift};
    case WindowKey::Comma: return {PlayerKey::Comma, press.shift};
    case WindowKey::Period: return {PlayerKey::Period, press.shift};
    case WindowKey::Home: return {PlayerKey::Home, press.shift};
    case WindowKey::R: return {PlayerKey::Reload, press.shift};
    case WindowKey::Escape: return {PlayerKey::Escape, press.shift};
    case WindowKey::Digit1:
    case WindowKey::Digit2:
    case WindowKey::Digit3:
    case WindowKey::Digit4:
    case WindowKey::Digit5: break;
    }
    return {PlayerKey::Scene, press.shift, int(press.key) - int(WindowKey::Digit1)};
}

// While paused with nothing new to show, the player sleeps in the event queue this long at most.
constexpr uint32_t idleWaitMilliseconds = 20;

// A window of the chosen size that runs beside the show. Assertion builds ask for a debug
// context and print what the driver says.
void chooseWindow(const PlayerOptions& options)
{
    SdlWindowOptions window;
    window.fullscreen = options.fullscreen;
    window.width = options.width;
    window.height = options.height;
    window.title = "player";
    window.singleInstance = false;
    window.messagesOnStandardError = true;
#ifndef NDEBUG
    window.debugContext = true;
#endif
    window.queueKeys = true;
    setSdlWindowOptions(window);
}

// What the keys pressed since the last frame do. True when one of them quits.
bool takeKeys(PlayerSession& session, bool& redraw)
{
    bool quit = false;
    for (const WindowKeyPress& key : takeWindowKeys()) {
        switch (session.press(playerKeyFor(key))) {
        case PlayerAction::None: break;
        case PlayerAction::TimeChanged: redraw = true; break;
        case PlayerAction::ReloadShaders:
            reload();
            redraw = true;
            break;
        case PlayerAction::Quit: quit = true; break;
        }
    }
    return quit;
}

}  // namespace

int main(int argc, char** argv)
{
    // Stage 1: what to play.
    PlayerOptions options;
    std::string error;
    if (!parsePlayerOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "player: %s\n%s", error.c_str(), playerUsage);
        return 2;
    }
    if (!enterExecutableFolder())
        return 1;

    // Stage 2: the show's own start-up, in the player's window.
    chooseWindow(options);
    const StartedShow started = startShow();
    if (!started.show)
        return started.exitStatus() != 0 ? started.exitStatus() : 1;
    enterFullscreen();

    // Stage 3: the clock and the music at the start time.
    const int64_t frequency = performanceFrequency();
    PlayerSession session(options.startTime, options.paused, frequency, performanceCounter);
    session.startMusic();
    FrameRateMeter meter(frequency, performanceCounter());
    watchShaderFolder("shaders");

    // Stage 4: frames until Escape or the window closes. A paused player draws only when
    // something changed, so it leaves the machine alone.
    bool redraw = true;
    for (;;) {
        if (drainMessages())
            break;
        if (takeKeys(session, redraw))
            break;
        if (shaderFolderChanged(int64_t(double(performanceCounter()) * 1000.0 / double(frequency)))) {
            reload();
            redraw = true;
        }

        if (session.paused() && !redraw) {
            waitForWindowEvents(idleWaitMilliseconds);
            continue;
        }
        const double t = session.frameTime();
        if (runFrameAt(*started.show, t, drawPlayerFrame))
            break;
        meter.frameDrawn(performanceCounter());
        setWindowTitle(playerTitle(t, meter.rate(), session.paused()));
        redraw = false;
    }
    return 0;
}
