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

PlayerSession::PlayerSession(double start, bool paused, int64_t frequency, CounterReader readCounter)
    : readCounter_(readCounter), clock_(start, paused, showEndTime(), frequency, readCounter()),
      sceneStarts_(sceneStartTimes())
{}

uint32_t PlayerSession::trackFrameAt(double t)
{
    return uint32_t(std::llround(t * double(musicSampleRate())));
}

void PlayerSession::startMusic()
{
    seekTo(clock_.time(readCounter_()), !clock_.paused());
}

void PlayerSession::seekTo(double t, bool play)
{
    const double target = std::clamp(t, 0.0, clock_.end());
    musicSeek(trackFrameAt(target), play);
    const int64_t now = readCounter_();
    clock_.seek(target, now);
    clock_.setPaused(!play, now);
}

PlayerAction PlayerSession::press(const KeyPress& press)
{
    const int64_t now = readCounter_();
    const double t = clock_.time(now);
    const bool playing = !clock_.paused();
    const double secondStep = press.shift ? 10.0 : 1.0;
    switch (press.key) {
    case PlayerKey::Space:
        if (playing) {
            clock_.setPaused(true, now);
            musicPause();
        } else {
            // Resuming at the end would stop again at once: play from the start instead. The
            // music is sought to the held time, wherever its device had got to.
            seekTo(clock_.atEnd(now) ? 0.0 : t, true);
        }
        return PlayerAction::TimeChanged;
    case PlayerKey::Left: seekTo(t - secondStep, playing); return PlayerAction::TimeChanged;
    case PlayerKey::Right: seekTo(t + secondStep, playing); return PlayerAction::TimeChanged;
    case PlayerKey::Comma:
    case PlayerKey::Period:
        if (playing)
            return PlayerAction::None;
        seekTo(steppedFrameTime(t, press.key == PlayerKey::Period ? 1 : -1), false);
        return PlayerAction::TimeChanged;
    case PlayerKey::Home: seekTo(0.0, playing); return PlayerAction::TimeChanged;
    case PlayerKey::Scene:
        if (press.scene < 0 || press.scene >= playerSceneCount)
            return PlayerAction::None;
        seekTo(sceneStarts_[size_t(press.scene)], playing);
        return PlayerAction::TimeChanged;
    case PlayerKey::Reload: return PlayerAction::ReloadShaders;
    case PlayerKey::Escape: return PlayerAction::Quit;
    }
    return PlayerAction::None;
}

double PlayerSession::frameTime()
{
    const int64_t now = readCounter_();
    if (!clock_.paused() && clock_.atEnd(now)) {
        clock_.setPaused(true, now);
        musicPause();
    }
    return clock_.time(now);
}
