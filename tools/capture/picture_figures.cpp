#include "picture_figures.h"

#include "show/timeline.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The grid the contrast is measured on: 480x270 divided by 4, so that one cell averages about
// 4 x 4 pixels, enough to flatten per-pixel grain and dither of a few levels.
constexpr double referenceWidth = 480.0;
constexpr double referenceHeight = 270.0;
constexpr double referenceCellSide = 4.0;  // pixels of a 480x270 frame per grid cell

// Blocks of about 8 x 8 cells, about 30 pixels at 480x270: the scale of an object on screen
// rather than of a texture's grain.
constexpr double blockSide = 8.0;  // grid cells

// The share of blocks, most detailed first, whose spread makes the figure: a subject that
// fills a tenth of the frame counts in full, a dark or empty rest does not dilute it.
constexpr double detailedShare = 0.1;

double luma(const uint8_t* pixel)
{
    return (0.2126 * pixel[0] + 0.7152 * pixel[1] + 0.0722 * pixel[2]) / 255.0;
}

// Splits [0, length) into `parts` runs of whole cells, as even as they come; run i is
// [edge(i), edge(i + 1)).
uint32_t edge(uint32_t i, uint32_t length, uint32_t parts)
{
    return uint32_t(uint64_t(i) * length / parts);
}

}  // namespace

PictureFigures measurePicture(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height)
{
    PictureFigures figures;
    if (width == 0 || height == 0 || rgba.size() < size_t(width) * height * 4)
        return figures;

    std::vector<double> luminance(size_t(width) * height);
    double sum = 0.0;
    for (size_t i = 0; i < luminance.size(); ++i) {
        luminance[i] = luma(&rgba[i * 4]);
        sum += luminance[i];
    }
    figures.meanBrightness = sum / double(luminance.size());

    // The grid keeps the frame's shape and scales with its area; each cell is the box mean of
    // the pixels it covers.
    const double cellSide = referenceCellSide * std::sqrt(double(width) * height / (referenceWidth * referenceHeight));
    const uint32_t gridWidth = std::clamp(uint32_t(std::lround(width / cellSide)), 1u, width);
    const uint32_t gridHeight = std::clamp(uint32_t(std::lround(height / cellSide)), 1u, height);
    std::vector<double> grid(size_t(gridWidth) * gridHeight);
    for (uint32_t gy = 0; gy < gridHeight; ++gy)
        for (uint32_t gx = 0; gx < gridWidth; ++gx) {
            double cellSum = 0.0;
            const uint32_t x0 = edge(gx, width, gridWidth), x1 = edge(gx + 1, width, gridWidth);
            const uint32_t y0 = edge(gy, height, gridHeight), y1 = edge(gy + 1, height, gridHeight);
            for (uint32_t y = y0; y < y1; ++y)
                for (uint32_t x = x0; x < x1; ++x)
                    cellSum += luminance[size_t(y) * width + x];
            grid[size_t(gy) * gridWidth + gx] = cellSum / double((x1 - x0) * (y1 - y0));
        }

    // The blocks tile the grid whole: a side that does not divide by 8 gets blocks of 7 or 9.
    const uint32_t blockColumns = std::max(1u, uint32_t(std::lround(gridWidth / blockSide)));
    const uint32_t blockRows = std::max(1u, uint32_t(std::lround(gridHeight / blockSide)));
    std::vector<double> spreads;
    spreads.reserve(size_t(blockColumns) * blockRows);
    for (uint32_t by = 0; by < blockRows; ++by)
        for (uint32_t bx = 0; bx < blockColumns; ++bx) {
            const uint32_t x0 = edge(bx, gridWidth, blockColumns), x1 = edge(bx + 1, gridWidth, blockColumns);
            const uint32_t y0 = edge(by, gridHeight, blockRows), y1 = edge(by + 1, gridHeight, blockRows);
            double blockSum = 0.0, blockSquares = 0.0;
            for (uint32_t y = y0; y < y1; ++y)
                for (uint32_t x = x0; x < x1; ++x) {
                    const double value = grid[size_t(y) * gridWidth + x];
                    blockSum += value;
                    blockSquares += value * value;
                }
            const double count = double((x1 - x0) * (y1 - y0));
            const double mean = blockSum / count;
            spreads.push_back(std::sqrt(std::max(0.0, blockSquares / count - mean * mean)));
        }

    const size_t detailed = std::max<size_t>(1, size_t(std::ceil(double(spreads.size()) * detailedShare)));
    std::partial_sort(spreads.begin(), spreads.begin() + std::ptrdiff_t(detailed), spreads.end(),
                      std::greater<double>());
    double detailedSum = 0.0;
    for (size_t i = 0; i < detailed; ++i)
        detailedSum += spreads[i];
    figures.localContrast = detailedSum / double(detailed);
    return figures;
}

const std::vector<PlannedPassage>& plannedPassages()
{
    // Where the show means to leave the photograph: it fades up from black in its first
    // second, the intro burns out to white and hands over to the flash around 25 s, and the
    // credits fade to white before the fireworks. A frame inside a fade is not counted for
    // contrast; one inside a burn-out may be as bright as it likes.
    const SceneRow& intro = timeline[tunnelIntroRow];
    const SceneRow& credits = timeline[creditsRow];
    static const std::vector<PlannedPassage> passages = {
        {intro.start, intro.start + 1.0, true, false, "the fade up from black"},
        {intro.end - 4.0, intro.end + 1.5, false, true, "the intro burning out"},
        {intro.end - 1.5, intro.end + 1.5, true, false, "the hand-over to the flash"},
        {credits.end - 6.0, credits.end, true, true, "the credits fading to white"},
    };
    return passages;
}

FrameVerdict judgeFrame(double t, const PictureFigures& figures)
{
    FrameVerdict verdict;
    bool mayBurnOut = false;
    for (const PlannedPassage& passage : plannedPassages())
        if (t >= passage.from && t < passage.to) {
            verdict.inFade = verdict.inFade || passage.fade;
            mayBurnOut = mayBurnOut || passage.burnOut;
        }
    verdict.inRange = figures.localContrast >= photographContrastLow && figures.localContrast <= photographContrastHigh;
    verdict.tooBright = !mayBurnOut && figures.meanBrightness > brightnessLimit;
    return verdict;
}
