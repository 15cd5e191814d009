#include "report_picture.h"

#include "bitmap_font.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace soundtrack {

namespace {

struct Colour {
    std::uint8_t r, g, b;
};

constexpr Colour background{18, 18, 22};
constexpr Colour grid{55, 55, 62};
constexpr Colour label{200, 200, 205};
constexpr Colour shortTermColour{255, 214, 90};
constexpr Colour momentaryColour{95, 95, 105};

// One colour per scene, in the show's order; more scenes reuse them.
constexpr std::array<Colour, 5> sceneColours = {
    {{90, 150, 255}, {235, 235, 235}, {110, 220, 120}, {255, 140, 60}, {220, 100, 230}}};

class Canvas {
public:
    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h * 3))
    {
        fill(0, 0, w, h, background);
    }

    void set(int x, int y, Colour c)
    {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return;
        }
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        pixels[at] = c.r;
        pixels[at + 1] = c.g;
        pixels[at + 2] = c.b;
    }

    void fill(int x, int y, int w, int h, Colour c)
    {
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) {
                set(i, j, c);
            }
        }
    }

    // A line one pixel wide, `thickness` pixels tall where it is near horizontal.
    void line(double x0, double y0, double x1, double y1, Colour c, int thickness = 1)
    {
        const int steps = static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))) + 1;
        for (int s = 0; s <= steps; ++s) {
            const double f = static_cast<double>(s) / steps;
            const int x = static_cast<int>(std::lround(x0 + (x1 - x0) * f));
            const int y = static_cast<int>(std::lround(y0 + (y1 - y0) * f));
            for (int t = 0; t < thickness; ++t) {
                set(x, y + t, c);
            }
        }
    }

    // Text at twice the font's size, its top left at (x, y).
    void text(int x, int y, const std::string& s, Colour c)
    {
        std::vector<float> vertices(16 * 4 * (s.size() + 1) * 4);
        const int quads = textQuads(0.0f, 0.0f, s.c_str(), vertices.data(), static_cast<int>(vertices.size() * 4));
        for (int q = 0; q < quads; ++q) {
            const float* v = &vertices[static_cast<std::size_t>(q) * 16];
            const int left = static_cast<int>(v[0]) * 2, top = static_cast<int>(v[1]) * 2;
            const int right = static_cast<int>(v[8]) * 2, bottom = static_cast<int>(v[9]) * 2;
            fill(x + left, y + top, right - left, bottom - top, c);
        }
    }

    bool write(const std::string& path) const
    {
        return stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3) != 0;
    }

private:
    int width, height;
    std::vector<std::uint8_t> pixels;
};

std::string format(const char* pattern, double value)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

// A ramp from dark blue through green and yellow to white: level in 0..1.
Colour heat(double level)
{
    constexpr std::array<Colour, 6> stops = {
        {{10, 10, 30}, {30, 40, 140}, {30, 160, 150}, {180, 210, 60}, {250, 130, 40}, {255, 250, 240}}};
    const double x = std::clamp(level, 0.0, 1.0) * (stops.size() - 1);
    const auto i = std::min<std::size_t>(static_cast<std::size_t>(x), stops.size() - 2);
    const double f = x - static_cast<double>(i);
    const auto mix = [f](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
    };
    return {mix(stops[i].r, stops[i + 1].r), mix(stops[i].g, stops[i + 1].g), mix(stops[i].b, stops[i + 1].b)};
}

constexpr int pictureWidth = 1600;
constexpr int pictureHeight = 1240;
constexpr int plotLeft = 90;
constexpr int plotRight = 1580;

struct TimeAxis {
    double seconds;
    double x(double t) const { return plotLeft + (plotRight - plotLeft) * t / seconds; }
};

void drawSceneMarks(Canvas& canvas, const TimeAxis& axis, const ProgrammeFigures& f,
                    const std::vector<double>& phraseStarts, int top, int bottom, bool names)
{
    for (std::size_t i = 0; i < f.scenes.size(); ++i) {
        const SceneFigures& scene = f.scenes[i];
        const double x = axis.x(scene.span.fromSeconds);
        canvas.line(x, top, x, bottom, label);
        if (names) {
            const Colour c = sceneColours[i % sceneColours.size()];
            canvas.text(static_cast<int>(x) + 6, top + 6, scene.span.name, c);
            canvas.text(static_cast<int>(x) + 6, top + 24, format("%.1f LUFS", scene.integratedLufs), c);
        }
    }
    for (double t : phraseStarts) {
        canvas.line(axis.x(t), bottom - 12, axis.x(t), bottom, label);
    }
}

void drawLoudness(Canvas& canvas, const TimeAxis& axis, const ProgrammeFigures& f,
                  const std::vector<double>& phraseStarts)
{
    constexpr int top = 50, bottom = 430;
    constexpr double lowest = -45.0, highest = -5.0;
    const auto y = [=](double lufs) {
        return bottom - (bottom - top) * (std::clamp(lufs, lowest, highest) - lowest) / (highest - lowest);
    };
    for (int step = 0; lowest + 5.0 * step <= highest; ++step) {
        const double level = lowest + 5.0 * step;
        canvas.line(plotLeft, y(level), plotRight, y(level), grid);
        canvas.text(8, static_cast<int>(y(level)) - 6, format("%.0f", level), label);
    }
    for (int step = 0; 10.0 * step <= axis.seconds; ++step) {
        const double t = 10.0 * step;
        canvas.text(static_cast<int>(axis.x(t)) - 8, bottom + 6, format("%.0f s", t), label);
    }
    drawSceneMarks(canvas, axis, f, phraseStarts, top, bottom, true);
    // Each scene's integrated loudness as a level line across it.
    for (std::size_t i = 0; i < f.scenes.size(); ++i) {
        const SceneFigures& scene = f.scenes[i];
        if (std::isfinite(scene.integratedLufs)) {
            canvas.line(axis.x(scene.span.fromSeconds), y(scene.integratedLufs), axis.x(scene.span.toSeconds),
                        y(scene.integratedLufs), sceneColours[i % sceneColours.size()], 2);
        }
    }
    const LoudnessTrack& track = f.loudness;
    for (const auto* series : {&track.momentary, &track.shortTerm}) {
        const Colour c = series == &track.shortTerm ? shortTermColour : momentaryColour;
        for (std::size_t i = 1; i < series->size(); ++i) {
            const double a = (*series)[i - 1], b = (*series)[i];
            if (std::isfinite(a) && std::isfinite(b)) {
                canvas.line(axis.x(track.timeOf(i - 1)), y(a), axis.x(track.timeOf(i)), y(b), c,
                            series == &track.shortTerm ? 3 : 1);
            }
        }
    }
    canvas.text(plotLeft, 10,
                format("loudness, LUFS: short-term (3 s, yellow), momentary (grey), each scene's integrated "
                       "(level lines); whole programme %.1f LUFS",
                       f.integratedLufs),
                label);
}

void drawBandEnergies(Canvas& canvas, const TimeAxis& axis, const ProgrammeFigures& f,
                      const std::vector<double>& phraseStarts)
{
    constexpr int top = 490, rowHeight = 11;
    constexpr int bottom = top + rowHeight * static_cast<int>(thirdOctaveBandCount);
    // Each column's bands against the whole programme's reference line: where a band glows,
    // it stands above the tilt the mix is aimed at.
    const Spectrogram& s = f.spectrogram;
    std::array<double, thirdOctaveBandCount> line{};
    for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
        line[b] = f.spectrum.bandDb[b] - f.spectrum.deviationDb[b];
    }
    for (std::size_t i = 0; i < s.frames.size(); ++i) {
        const SpectrumFigures column = analyseSpectrum(s.frames[i], s.rateHz, s.frameSize);
        const double t = s.frameCentreSeconds(i);
        const int x0 = static_cast<int>(axis.x(t - 0.5 * s.hop / static_cast<double>(s.rateHz)));
        const int x1 = static_cast<int>(axis.x(t + 0.5 * s.hop / static_cast<double>(s.rateHz)));
        for (std::size_t b = 0; b < thirdOctaveBandCount; ++b) {
            const double relative = column.bandDb[b] - line[b];
            const int rowTop = bottom - rowHeight * static_cast<int>(b + 1);
            canvas.fill(x0, rowTop, std::max(1, x1 - x0), rowHeight, heat((relative + 30.0) / 45.0));
        }
    }
    for (std::size_t b = 0; b < thirdOctaveBandCount; b += 3) {
        const double hz = bandNominalHz(b);
        canvas.text(8, bottom - rowHeight * static_cast<int>(b + 1) - 2,
                    hz >= 1000.0 ? format("%gk", hz / 1000.0) : format("%g", hz), label);
    }
    drawSceneMarks(canvas, axis, f, phraseStarts, top, bottom, false);
    canvas.text(plotLeft, top - 22,
                "third-octave bands of the mid channel over time, against the programme's reference line: "
                "-30 dB (dark) to +15 dB (white)",
                label);
}

void drawSceneSpectra(Canvas& canvas, const ProgrammeFigures& f)
{
    constexpr int top = 860, bottom = 1200, left = plotLeft, right = 1000;
    constexpr double lowest = -24.0, highest = 16.0;
    const auto y = [=](double db) {
        return bottom - (bottom - top) * (std::clamp(db, lowest, highest) - lowest) / (highest - lowest);
    };
    const auto x = [](std::size_t band) {
        return left + (right - left) * static_cast<double>(band) / (thirdOctaveBandCount - 1);
    };
    for (int step = 0; lowest + 4.0 * step <= highest; ++step) {
        const double db = lowest + 4.0 * step;
        canvas.line(left, y(db), right, y(db), db == 0.0 ? label : grid);
        canvas.text(8, static_cast<int>(y(db)) - 6, format("%+.0f", db), label);
    }
    for (std::size_t b = 0; b < thirdOctaveBandCount; b += 2) {
        const double hz = bandNominalHz(b);
        canvas.line(x(b), top, x(b), bottom, grid);
        canvas.text(static_cast<int>(x(b)) - 10, bottom + 6,
                    hz >= 1000.0 ? format("%gk", hz / 1000.0) : format("%g", hz), label);
    }
    for (std::size_t i = 0; i < f.scenes.size(); ++i) {
        const Colour c = sceneColours[i % sceneColours.size()];
        for (std::size_t b = 1; b < thirdOctaveBandCount; ++b) {
            canvas.line(x(b - 1), y(f.scenes[i].spectrum.deviationDb[b - 1]), x(b),
                        y(f.scenes[i].spectrum.deviationDb[b]), c, 2);
        }
        canvas.text(left + 10 + 150 * static_cast<int>(i), top + 8, f.scenes[i].span.name, c);
    }
    canvas.text(left, top - 44, "each scene's spectrum against the reference line (-4.5 dB/octave per Hz,", label);
    canvas.text(left, top - 24, "fitted 100 Hz-10 kHz), dB", label);
}

void drawHeadline(Canvas& canvas, const ProgrammeFigures& f)
{
    constexpr int left = 1040;
    int y = 830;
    const auto row = [&](const std::string& s) {
        canvas.text(left, y, s, label);
        y += 26;
    };
    row(format("integrated %.1f LUFS", f.integratedLufs) + format(", true peak %.1f dBTP", f.truePeakDbtp));
    row(format("spread 27-96 s (p95-p10)  %.1f LU", f.spreadLu));
    row(format("fireworks over credits  %+.1f LU", f.dropLiftLu));
    row(format("centroid >150 Hz  %.0f", f.versesCentroidHz) + format(" -> %.0f Hz", f.dropCentroidHz));
    row(format("carousel fall within 3 s  %.1f LU", f.carouselFallLu));
    row(format("50 Hz band vs line  %+.1f dB", f.band50Db));
    row(format("energy below 100 Hz  %.1f %%", 100.0 * f.spectrum.shareBelow100Hz));
    row(format("largest band  %.1f %% of all", 100.0 * f.spectrum.largestBandShare) +
        format(" (%g Hz)", bandNominalHz(f.spectrum.largestBand)));
    row(format("presence 2-6.3 kHz, lowest  %+.1f dB", f.presenceLowestDb));
    row(format("95 %% of energy below  %.0f Hz", f.spectrum.frequencyBelowWhich95PercentHz));
    row(format("last 100 ms  %.1f dBFS", f.tailRmsDbfs));
}

}  // namespace

bool drawReport(const std::string& pngPath, const ProgrammeFigures& figures, const std::vector<double>& phraseStarts,
                std::string& error)
{
    Canvas canvas(pictureWidth, pictureHeight);
    const TimeAxis axis{std::max(figures.lengthSeconds, 1.0)};
    drawLoudness(canvas, axis, figures, phraseStarts);
    drawBandEnergies(canvas, axis, figures, phraseStarts);
    drawSceneSpectra(canvas, figures);
    drawHeadline(canvas, figures);
    if (!canvas.write(pngPath)) {
        error = pngPath + ": could not write the PNG";
        return false;
    }
    return true;
}

}  // namespace soundtrack
