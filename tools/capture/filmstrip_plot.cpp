#include "filmstrip_plot.h"

#include "label_font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

struct Colour {
    uint8_t r, g, b;
};

constexpr Colour ground = {24, 24, 24};
constexpr Colour panelGround = {36, 36, 36};
constexpr Colour plannedShade = {58, 58, 58};  // a planned fade or burn-out
constexpr Colour photographBand = {28, 66, 44};
constexpr Colour gridLine = {50, 50, 50};
constexpr Colour sceneBoundary = {130, 130, 130};
constexpr Colour text = {210, 210, 210};
constexpr Colour brightnessColour = {255, 178, 56};
constexpr Colour contrastColour = {90, 196, 255};
constexpr Colour limitColour = {230, 70, 70};

constexpr int textScale = 2;  // font pixels: 14 pixels tall
constexpr int lineHeight = glyphHeight * textScale;
constexpr int leftMargin = 72;  // room for the value labels
constexpr int rightMargin = 24;
constexpr int panelHeight = 200;
constexpr int legendTop = 10;
constexpr int scenesTop = legendTop + lineHeight + 12;
constexpr int brightnessTop = scenesTop + lineHeight + 8;
constexpr int contrastTop = brightnessTop + panelHeight + 16;
constexpr int timeLabelsTop = contrastTop + panelHeight + 8;
constexpr int plotHeight = timeLabelsTop + lineHeight + 12;

// The contrast axis runs to 0.3: the photograph range and some room above it. A frame above is
// drawn on the top edge.
constexpr double contrastAxisTop = 0.3;
constexpr double tickSeconds = 10.0;

// A raster to draw on, clipped at its edges.
class Canvas {
public:
    explicit Canvas(SheetImage& image) : image_(image) {}

    void fill(int x0, int y0, int x1, int y1, Colour colour)
    {
        for (int y = std::max(0, y0); y < std::min(int(image_.height), y1); ++y)
            for (int x = std::max(0, x0); x < std::min(int(image_.width), x1); ++x)
                put(x, y, colour);
    }

    // A square of side 2 * radius + 1 centred on (x, y).
    void dot(int x, int y, int radius, Colour colour)
    {
        fill(x - radius, y - radius, x + radius + 1, y + radius + 1, colour);
    }

    // Two pixels wide, so that it reads on a large strip.
    void line(int x0, int y0, int x1, int y1, Colour colour)
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const double f = steps == 0 ? 0.0 : double(i) / steps;
            const int x = int(std::lround(x0 + f * (x1 - x0))), y = int(std::lround(y0 + f * (y1 - y0)));
            fill(x, y, x + 2, y + 2, colour);
        }
    }

    // Returns the x just after the text.
    int write(int x, int y, const std::string& words, Colour colour)
    {
        const uint8_t rgb[3] = {colour.r, colour.g, colour.b};
        drawLabel(image_.rgba, int(image_.width), int(image_.height), x, y, words, textScale, rgb);
        return x + labelWidth(words, textScale);
    }

private:
    void put(int x, int y, Colour colour)
    {
        uint8_t* pixel = &image_.rgba[(size_t(y) * image_.width + size_t(x)) * 4];
        pixel[0] = colour.r;
        pixel[1] = colour.g;
        pixel[2] = colour.b;
        pixel[3] = 255;
    }

    SheetImage& image_;
};

// Where a time and a value land: time runs left to right over [0, endTime], value bottom to
// top over [0, axisTop] of a panel.
struct Axes {
    int left;
    int right;
    double endTime;

    int x(double t) const { return left + int(std::lround((right - left) * std::clamp(t / endTime, 0.0, 1.0))); }
    static int y(double value, double axisTop, int panelTop)
    {
        return panelTop + panelHeight - int(std::lround(panelHeight * std::clamp(value / axisTop, 0.0, 1.0)));
    }
};

std::string valueLabel(double value)
{
    char label[16];
    std::snprintf(label, sizeof label, "%g", value);
    return label;
}

struct Band {
    double low = 0.0;
    double high = 0.0;  // no band when not above low
};

// A panel's ground, its band and shaded passages, grid, value labels and scene boundaries.
void drawPanel(Canvas& canvas, const Axes& axes, int top, double axisTop, const std::vector<double>& ticks,
               const std::vector<FilmstripFrame>& frames, Band band, bool shadeFades)
{
    canvas.fill(axes.left, top, axes.right + 1, top + panelHeight + 1, panelGround);
    if (band.high > band.low)
        canvas.fill(axes.left, Axes::y(band.high, axisTop, top), axes.right + 1, Axes::y(band.low, axisTop, top),
                    photographBand);
    for (const PlannedPassage& passage : plannedPassages())
        if (shadeFades ? passage.fade : passage.burnOut)
            canvas.fill(axes.x(passage.from), top, axes.x(passage.to), top + panelHeight + 1, plannedShade);
    for (double value : ticks) {
        const int y = Axes::y(value, axisTop, top);
        canvas.fill(axes.left, y, axes.right + 1, y + 1, gridLine);
        const std::string label = valueLabel(value);
        canvas.write(axes.left - 8 - labelWidth(label, textScale), y - lineHeight / 2, label, text);
    }
    for (int tick = 0; tick * tickSeconds <= axes.endTime; ++tick) {
        const int x = axes.x(tick * tickSeconds);
        canvas.fill(x, top + panelHeight - 6, x + 1, top + panelHeight + 1, text);
    }
    for (const FrameRun& run : sceneRuns(frames)) {
        if (run.first == 0)
            continue;
        const int x = axes.x(frames[run.first].scene->start);
        canvas.fill(x, top, x + 1, top + panelHeight + 1, sceneBoundary);
    }
}

// The series as a line through the frames with a dot at each; `marked` frames in `markColour`.
template <typename Value, typename Marked>
void drawSeries(Canvas& canvas, const Axes& axes, int top, double axisTop, const std::vector<FilmstripFrame>& frames,
                Colour colour, Value value, Marked marked, Colour markColour)
{
    for (size_t i = 1; i < frames.size(); ++i)
        canvas.line(axes.x(frames[i - 1].time), Axes::y(value(frames[i - 1]), axisTop, top), axes.x(frames[i].time),
                    Axes::y(value(frames[i]), axisTop, top), colour);
    for (const FilmstripFrame& frame : frames)
        canvas.dot(axes.x(frame.time), Axes::y(value(frame), axisTop, top), 3, marked(frame) ? markColour : colour);
}

int legendEntry(Canvas& canvas, int x, Colour swatch, const std::string& words)
{
    canvas.fill(x, legendTop + 2, x + 28, legendTop + lineHeight - 2, swatch);
    return canvas.write(x + 36, legendTop, words, text) + 40;
}

}  // namespace

SheetImage drawFigurePlot(const std::vector<FilmstripFrame>& frames, uint32_t width)
{
    SheetImage plot;
    plot.width = width;
    plot.height = plotHeight;
    plot.rgba.assign(size_t(plot.width) * plot.height * 4, 255);
    Canvas canvas(plot);
    canvas.fill(0, 0, int(width), plotHeight, ground);
    if (frames.empty())
        return plot;

    const Axes axes = {leftMargin, int(width) - rightMargin, std::max(1.0, std::ceil(frames.back().time))};

    int x = axes.left;
    x = legendEntry(canvas, x, brightnessColour, "mean brightness (0 to 1)");
    x = legendEntry(canvas, x, contrastColour, "local contrast");
    x = legendEntry(canvas, x, photographBand, "photograph range 0.06 to 0.2");
    x = legendEntry(canvas, x, limitColour, "85 % of white (red dots: too bright)");
    legendEntry(canvas, x, plannedShade, "planned burn-out (above), fade (below)");

    for (const FrameRun& run : sceneRuns(frames))
        canvas.write(axes.x(frames[run.first].time) + 6, scenesTop, frames[run.first].scene->name, text);

    drawPanel(canvas, axes, brightnessTop, 1.0, {0.0, 0.25, 0.5, 0.75, 1.0}, frames, Band(), false);
    const int limitY = Axes::y(brightnessLimit, 1.0, brightnessTop);
    for (int dashX = axes.left; dashX < axes.right; dashX += 16)
        canvas.fill(dashX, limitY - 1, std::min(dashX + 10, axes.right), limitY + 1, limitColour);
    drawSeries(
        canvas, axes, brightnessTop, 1.0, frames, brightnessColour,
        [](const FilmstripFrame& frame) { return frame.figures.meanBrightness; },
        [](const FilmstripFrame& frame) { return judgeFrame(frame.time, frame.figures).tooBright; }, limitColour);

    drawPanel(canvas, axes, contrastTop, contrastAxisTop, {0.0, 0.1, 0.2, 0.3}, frames,
              {photographContrastLow, photographContrastHigh}, true);
    drawSeries(
        canvas, axes, contrastTop, contrastAxisTop, frames, contrastColour,
        [](const FilmstripFrame& frame) { return frame.figures.localContrast; },
        [](const FilmstripFrame&) { return false; }, contrastColour);

    for (int tick = 0; tick * tickSeconds <= axes.endTime; ++tick) {
        const double t = tick * tickSeconds;
        canvas.write(axes.x(t) - labelWidth(valueLabel(t), textScale) / 2, timeLabelsTop, valueLabel(t) + " s", text);
    }
    return plot;
}
