// Entry point of the web page. With no address arguments it plays the show: the start screen,
// then on a click the show in full screen with its music, until Escape or its end brings the
// start screen back. "?t=T&size=WxH" draws the one moment T (seconds) at W x H, still, and sets
// the page's title to "ready" once it is drawn: for tests, and for sharing a moment.
#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/timeline_frame.h"
#include "audio/music.h"
#include "audio/music_web.h"
#include "platform/platform.h"
#include "platform/platform_web.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The address's argument `name`, or "" where it has none.
// JavaScript, laid out by hand.
// clang-format off
EM_JS(char*, pageArgument, (const char* name), {
    const value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null)
        return 0;
    const size = lengthBytesUTF8(value) + 1;
    const text = _malloc(size);
    stringToUTF8(value, text, size);
    return text;
});
// clang-format on

std::string argument(const char* name)
{
    char* value = pageArgument(name);
    if (!value)
        return "";
    std::string text = value;
    std::free(value);
    return text;
}

bool parseTime(const std::string& text, double& seconds)
{
    char end = 0;
    return std::sscanf(text.c_str(), "%lf%c", &seconds, &end) == 1 && seconds >= 0.0 && seconds < 1e6;
}

bool parseSize(const std::string& text, uint32_t& width, uint32_t& height)
{
    char end = 0;
    return std::sscanf(text.c_str(), "%ux%u%c", &width, &height, &end) == 2 && width >= 4 && height >= 4 &&
           width <= 8192 && height <= 8192;
}

int drawStillMoment(const std::string& timeText, const std::string& sizeText)
{
    double seconds = 0.0;
    uint32_t width = 480, height = 270;
    if (!parseTime(timeText, seconds) || (!sizeText.empty() && !parseSize(sizeText, width, height))) {
        showMessageBox("The address asks for a moment as ?t=SECONDS&size=WIDTHxHEIGHT (for example "
                       "?t=40&size=480x270); this one does not.");
        setPageTitle("bad address");
        return 2;
    }
    setWebScreenSize(width, height);
    const StartedShow started = startShow();
    if (!started.show) {
        setPageTitle("failed");
        return started.exitStatus();
    }
    enterFullscreen();
    // Drawn as the show played at its 60 frames a second shows it, as the capture tool does.
    runFrameAt(*started.show, seconds, timelineFrame);
    setPageTitle("ready");
    return 0;
}

int playShow()
{
    const StartedShow started = startShow();
    if (!started.show) {
        setPageTitle("failed");
        return started.exitStatus();
    }
    for (;;) {
        waitForStartClick();
        enterFullscreen();
        hideCursor();
        // Nothing may come between these two: demo time 0 is the start of the music.
        musicStart();
        runFrameLoop(*started.show, timelineFrame);
        musicStop();
        reopenWebWindow();
    }
}

}  // namespace

int main()
{
    const std::string time = argument("t");
    if (!time.empty() || !argument("size").empty())
        return drawStillMoment(time, argument("size"));
    return playShow();
}
