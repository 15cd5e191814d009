#pragma once
struct Show;

// Called after each start-up step with its name, for measuring start-up.
using StartupStepDone = void (*)(const char* step);

// The start-up step that failed, each reported once, in one line, by the step itself.
enum class StartupFailure {
    None,
    SecondCopy,       // another copy runs: ends silently
    Window,           // window, context or entry points
    DoublePrecision,  // the driver lacks the double-precision uniforms
    Textures,
    Shaders,
    Renderer,  // the render targets
    Music,
};

struct StartedShow {
    Show* show = nullptr;  // the process's one show, kept to its end; null when a step failed
    StartupFailure failure = StartupFailure::None;

    // The process's exit status after a failure: 0 for a second copy, 1 for every other.
    int exitStatus() const { return failure == StartupFailure::SecondCopy ? 0 : 1; }
};

// Start-up up to the full-screen switch: single instance, window and context, the seed, the
// textures, shaders, renderer, models, screen triangle, music (its feeder running, the device
// paused), tunnel, ground plane, placed model, particle field, and the camera and lights
// configured. A failing step ends start-up at once after its report; what was made so far is
// left as it is.
StartedShow startShow(StartupStepDone stepDone = nullptr);

// The whole show: start-up, full screen, hidden cursor, the music, then the frame loop until
// the window closes. Returns the process exit status. The entry point of each platform calls
// it and nothing else.
int runShow();
