#pragma once
// The show's running order, by demo time in seconds: one row a scene, each starting where the
// one before ends (a boundary belongs to the later row), and the moment the show ends itself.
// The frame loop, the player's scene keys, the capture tool's contact sheet and filmstrip all
// read it from here.
#include <array>
#include <cstddef>

struct Show;

// Draws one whole frame of a scene from its own time in seconds.
using SceneFrame = void (*)(Show& show, double sceneTime);

struct SceneRow {
    const char* name;  // as the player's title and the filmstrip write it
    double start;      // the row holds demo times [start, end)
    double end;
    bool absoluteTime;  // the scene gets the demo time itself, not the time since `start`
    SceneFrame frame;
    std::array<double, 3> sheetMoments;  // demo times of its three frames on the contact sheet
};

constexpr int sceneCount = 5;
extern const std::array<SceneRow, sceneCount> timeline;

// The rows, by the scene they hold.
enum SceneRowIndex : size_t { tunnelIntroRow, particlesRow, creditsRow, tunnelFireworksRow, carouselRow };

// The carousel's last sculpture has turned: from here on every frame is the show's last (it
// is still drawn, and the window closes).
extern const double showEnd;

// The row whose [start, end) holds t, or null past the last row (140 s), where no scene draws.
const SceneRow* sceneAt(double t);

// The time the row's scene function gets for demo time t.
double sceneTime(const SceneRow& row, double t);

inline bool showClosesAt(double t)
{
    return t >= showEnd;
}

// One frame at demo time t: the state the scenes before t hand on is put in place, then the
// scene of t's row draws it. Draws nothing past the last row.
void drawShowFrame(Show& show, double t);
