#pragma once
// The player's state between frames: the clock, what the keys do to it, and the soundtrack kept
// where the clock is. Every change of time or of pause goes to the music here, so picture and
// sound cannot part: a seek moves the decoder and refills the ring, a pause holds the device,
// and a resume seeks the music to the held time before it plays, so a resume always starts in
// step (within the one device buffer SDL takes ahead).
#include "player_clock.h"
#include "player_timeline.h"

#include <array>
#include <cstdint>

enum class PlayerKey { Space, Left, Right, Comma, Period, Home, Scene, Reload, Escape };

struct KeyPress {
    PlayerKey key;
    bool shift = false;
    int scene = 0; // 0 to 4 for PlayerKey::Scene (keys 1 to 5)
};

enum class PlayerAction { None, TimeChanged, ReloadShaders, Quit };

class PlayerSession {
public:
    PlayerSession(double start, bool paused, int64_t frequency, int64_t now);

    // Puts the music at the start time, playing unless paused. Once, after the music loaded.
    void startMusic();

    // What a key does; the music follows at once.
    PlayerAction press(const KeyPress& press, int64_t now);

    // The demo time of the frame about to be drawn. Reaching the show's end pauses there.
    double frameTime(int64_t now);

    bool paused() const { return clock_.paused(); }

    // The music's track frame for demo time t (at the track's rate).
    static uint32_t trackFrameAt(double t);

private:
    void seekTo(double t, int64_t now);

    PlayerClock clock_;
    std::array<double, playerSceneCount> sceneStarts_;
};
