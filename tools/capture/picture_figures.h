#pragma once
// Two figures that say where to look at a frame: how bright it is and how much it shows.
// They only point at frames to judge by eye; they do not judge the look themselves.
#include <cstdint>
#include <vector>

struct PictureFigures {
    double meanBrightness = 0.0;  // mean display luma, 0 (black) to 1 (white)
    double localContrast = 0.0;   // object-scale local contrast, in luma units (0 to 0.5)
};

// Figures of an RGBA8 frame (top row first, sRGB as displayed; alpha ignored).
//   Mean brightness: Rec. 709 luma weights on the 8-bit sRGB values, each divided by 255.
//   Local contrast: the luma box-filtered down to a grid a quarter of 480x270 (120x68, scaled
//   with the frame's area for other sizes), so that grain and dither average away; that grid
//   cut into blocks of about 8 x 8 cells (about 30 pixels a side at 480x270); the standard
//   deviation of each block; the mean of the most detailed tenth of the blocks. A frame
//   that reads as a photograph scores about 0.06 to 0.2, a haze or flat field near 0.
PictureFigures measurePicture(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height);

// What the figures are held to, outside the passages planned otherwise.
constexpr double photographContrastLow = 0.06;
constexpr double photographContrastHigh = 0.2;
constexpr double brightnessLimit = 0.85;  // mean brightness above this reads as burnt white

// Passages of the show where a figure is expected to fail, by demo time in seconds, [from, to).
struct PlannedPassage {
    double from;
    double to;
    bool fade;     // dissolving to or from a flat field: its contrast is not counted
    bool burnOut;  // meant to go white: its brightness may pass the limit
    const char* what;
};
const std::vector<PlannedPassage>& plannedPassages();

struct FrameVerdict {
    bool inFade = false;     // inside a planned fade
    bool inRange = false;    // contrast within the photograph range
    bool tooBright = false;  // above the brightness limit outside a planned burn-out
};
FrameVerdict judgeFrame(double t, const PictureFigures& figures);
