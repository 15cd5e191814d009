#pragma once
// The filmstrip: the whole show at one frame a second of demo time, as thumbnails in a row per
// scene (wrapped when a scene has more than fit), each labelled with its time, above a plot of
// every frame's mean brightness and local contrast. The figures are printed as well, frame by
// frame and then per scene, so that a change of look can be judged on all of it at once.
#include "contact_sheet.h"
#include "picture_figures.h"
#include "show/frame_rate.h"
#include "show/timeline.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct FilmstripFrame {
    double time = 0.0;  // seconds of demo time
    const SceneRow* scene = &timeline[tunnelIntroRow];
    PictureFigures figures;          // measured on the frame at its full size
    std::vector<uint8_t> thumbnail;  // RGBA8, top row first, at the strip's thumbnail size
};

// Thumbnails are this wide; their height keeps the frame's shape (90 for 16:9).
constexpr uint32_t filmstripThumbnailWidth = 160;
uint32_t filmstripThumbnailHeight(uint32_t frameWidth, uint32_t frameHeight);

// The times on the strip as the show plays at `rate`: for each whole second, the first frame
// at or after it. The caller stops at the frame on which the show closes itself.
double filmstripFrameTime(uint32_t second, const FrameRate& rate);

// Frames over the same run of the show, in time order, grouped by scene: [first, last).
struct FrameRun {
    size_t first;
    size_t last;
};
std::vector<FrameRun> sceneRuns(const std::vector<FilmstripFrame>& frames);

// The whole filmstrip on the headless show, started at width x height, at the show's rate:
// draws the frames, prints their figures and the summary to standard output and writes the
// strip as a PNG at `path`. The exit status: 0, or 1 when the file cannot be written.
int runFilmstrip(Show& show, const std::string& path, uint32_t width, uint32_t height);

// Draws the strip's frames on the headless show, started at width x height, at the show's
// rate, printing each frame's figures to `report` as it is drawn.
std::vector<FilmstripFrame> drawFilmstripFrames(Show& show, uint32_t width, uint32_t height, std::FILE* report);

// Per scene and for the whole show: the share of frames outside the planned fades whose
// contrast lies in the photograph range, and the frames too bright outside the burn-outs.
void printFilmstripSummary(const std::vector<FilmstripFrame>& frames, std::FILE* report);

SheetImage layOutFilmstrip(const std::vector<FilmstripFrame>& frames);

// "12 s"; "12.02 s" for a time between whole seconds.
std::string secondsLabel(double t);
