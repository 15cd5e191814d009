#include "player_session.h"

#include "audio/music.h"
#include "show/frame_rate.h"

#include <algorithm>
#include <cmath>

namespace {

// `,` and `.` step on the grid of frames the show has at 60 fps, so a stepped frame is the one
// `capture --time` draws at that frame's time.
const FrameRate stepRate{60, 1};

double steppedFrameTime(double t, int direction)
{
    const double frame = std::round(t * stepRate.numerator / stepRate.denominator);
    const double next = std::max(frame + direction, 0.0);
    return stepRate.frameTime(uint64_t(next));
}

}

PlayerSession::PlayerSession(double start, bool paused, int64_t frequency, int64_t now)
    : clock_(start, paused, showEndTime(), frequency, now), sceneStarts_(sceneStartTimes())
{
}

uint32_t PlayerSession::trackFrameAt(double t)
{
    return uint32_t(std::llround(t * double(musicSampleRate())));
}

void PlayerSession::startMusic()
{
    musicSeek(trackFrameAt(clock_.time(0)), !clock_.paused());
}

void PlayerSession::seekTo(double t, int64_t now)
{
    clock_.seek(t, now);
    musicSeek(trackFrameAt(clock_.time(now)), !clock_.paused());
}

PlayerAction PlayerSession::press(const KeyPress& press, int64_t now)
{
    const double t = clock_.time(now);
    const double secondStep = press.shift ? 10.0 : 1.0;
    switch (press.key) {
    case PlayerKey::Space:
        if (clock_.paused()) {
            // Resuming at the end would stop again at once: play from the start instead.
            if (clock_.atEnd(now))
                clock_.seek(0.0, now);
            clock_.setPaused(false, now);
            musicSeek(trackFrameAt(clock_.time(now)), true);
        } else {
            clock_.setPaused(true, now);
            musicPause();
        }
        return PlayerAction::TimeChanged;
    case PlayerKey::Left: seekTo(t - secondStep, now); return PlayerAction::TimeChanged;
    case PlayerKey::Right: seekTo(t + secondStep, now); return PlayerAction::TimeChanged;
    case PlayerKey::Comma:
    case PlayerKey::Period:
        if (!clock_.paused())
            return PlayerAction::None;
        seekTo(steppedFrameTime(t, press.key == PlayerKey::Period ? 1 : -1), now);
        return PlayerAction::TimeChanged;
    case PlayerKey::Home: seekTo(0.0, now); return PlayerAction::TimeChanged;
    case PlayerKey::Scene:
        if (press.scene < 0 || press.scene >= playerSceneCount)
            return PlayerAction::None;
        seekTo(sceneStarts_[size_t(press.scene)], now);
        return PlayerAction::TimeChanged;
    case PlayerKey::Reload: return PlayerAction::ReloadShaders;
    case PlayerKey::Escape: return PlayerAction::Quit;
    }
    return PlayerAction::None;
}

double PlayerSession::frameTime(int64_t now)
{
    if (!clock_.paused() && clock_.atEnd(now)) {
        clock_.setPaused(true, now);
        musicPause();
    }
    return clock_.time(now);
}
