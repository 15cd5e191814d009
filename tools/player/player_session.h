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
    int scene = 0;  // 0 to 4 for PlayerKey::Scene (keys 1 to 5)
};

enum class PlayerAction { None, TimeChanged, ReloadShaders, Quit };

// The clock's counter: counts since any origin, at the frequency given with it.
using CounterReader = int64_t (*)();

class PlayerSession {
public:
    PlayerSession(double start, bool paused, int64_t frequency, CounterReader readCounter);

    // Puts the music at the start time, playing unless paused. Once, after the music loaded.
    void startMusic();

    // What a key does; the music follows at once.
    PlayerAction press(const KeyPress& press);

    // The demo time of the frame about to be drawn. Reaching the show's end pauses there.
    double frameTime();

    bool paused() const { return clock_.paused(); }

    // The music's track frame for demo time t (at the track's rate).
    static uint32_t trackFrameAt(double t);

private:
    // Moves the music to t, then the clock, so that a playing clock starts counting once the
    // music is under way: a seek's decoding takes a few milliseconds, and would otherwise put
    // the sound behind by that much.
    void seekTo(double t, bool play);

    CounterReader readCounter_;
    PlayerClock clock_;
    std::array<double, playerSceneCount> sceneStarts_;
};
