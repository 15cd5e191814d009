#include "filmstrip.h"

#include "filmstrip_plot.h"
#include "headless_show.h"
#include "label_font.h"

#include "show/show.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t columns = 15;  // thumbnails to a row: a scene longer than this wraps
constexpr uint32_t gap = 6;       // pixels between thumbnails and around the strip
constexpr uint8_t groundLevel = 24;
constexpr int captionScale = 2;  // each font pixel drawn 2 x 2: labels 14 pixels tall
constexpr uint32_t captionHeight = (glyphHeight + glyphDescent) * captionScale + 4;
constexpr uint32_t headingHeight = (glyphHeight + glyphDescent) * captionScale + 8;
const uint8_t captionInk[3] = {200, 200, 200};
const uint8_t headingInk[3] = {240, 240, 240};

// Thumbnails are averaged in linear light, so that fine bright detail keeps its weight.
double linearFromSrgb(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

uint8_t srgbFromLinear(double light)
{
    const double value = light <= 0.0031308 ? light * 12.92 : 1.055 * std::pow(light, 1.0 / 2.4) - 0.055;
    return uint8_t(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

// Each thumbnail pixel is the mean of the frame's pixels it covers (at least one).
std::vector<uint8_t> boxFiltered(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height, uint32_t toWidth,
                                 uint32_t toHeight)
{
    static const std::vector<double> linear = [] {
        std::vector<double> table(256);
        for (size_t i = 0; i < table.size(); ++i)
            table[i] = linearFromSrgb(double(i) / 255.0);
        return table;
    }();
    std::vector<uint8_t> small(size_t(toWidth) * toHeight * 4, 255);
    for (uint32_t ty = 0; ty < toHeight; ++ty) {
        const uint32_t y0 = ty * height / toHeight, y1 = std::max(y0 + 1, (ty + 1) * height / toHeight);
        for (uint32_t tx = 0; tx < toWidth; ++tx) {
            const uint32_t x0 = tx * width / toWidth, x1 = std::max(x0 + 1, (tx + 1) * width / toWidth);
            double sum[3] = {0.0, 0.0, 0.0};
            for (uint32_t y = y0; y < y1; ++y)
                for (uint32_t x = x0; x < x1; ++x)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += linear[rgba[(size_t(y) * width + x) * 4 + size_t(c)]];
            const double count = double((x1 - x0) * (y1 - y0));
            for (int c = 0; c < 3; ++c)
                small[(size_t(ty) * toWidth + tx) * 4 + size_t(c)] = srgbFromLinear(sum[c] / count);
        }
    }
    return small;
}

struct SceneFigures {
    size_t frames = 0;
    size_t counted = 0;             // frames outside the planned fades
    size_t inRange = 0;             // of those, frames with their contrast in the photograph range
    std::vector<double> tooBright;  // times of the frames too bright outside the burn-outs
};

SceneFigures summarise(const std::vector<FilmstripFrame>& frames, FrameRun run)
{
    SceneFigures summary;
    for (size_t i = run.first; i < run.last; ++i) {
        const FrameVerdict verdict = judgeFrame(frames[i].time, frames[i].figures);
        ++summary.frames;
        if (!verdict.inFade) {
            ++summary.counted;
            summary.inRange += verdict.inRange ? 1 : 0;
        }
        if (verdict.tooBright)
            summary.tooBright.push_back(frames[i].time);
    }
    return summary;
}

// Whole percent of frames outside the fades in range; 100 when no frame is counted.
int inRangePercent(const SceneFigures& summary)
{
    return summary.counted == 0 ? 100 : int(std::lround(100.0 * double(summary.inRange) / double(summary.counted)));
}

void printFrameLine(const FilmstripFrame& frame, std::FILE* report)
{
    const FrameVerdict verdict = judgeFrame(frame.time, frame.figures);
    std::fprintf(report, "%7.2f  %-15s %10.3f %9.3f  %s%s%s\n", frame.time, frame.scene->name,
                 frame.figures.meanBrightness, frame.figures.localContrast, verdict.inFade ? "fade " : "",
                 verdict.inRange ? "in range " : "", verdict.tooBright ? "too bright" : "");
    std::fflush(report);
}

void printSummaryLine(const char* name, const SceneFigures& summary, std::FILE* report)
{
    std::fprintf(report, "%-15s %6zu %8zu %8zu %4d %%  %zu", name, summary.frames, summary.counted, summary.inRange,
                 inRangePercent(summary), summary.tooBright.size());
    for (size_t i = 0; i < summary.tooBright.size(); ++i)
        std::fprintf(report, "%s%s", i == 0 ? " at " : ", ", secondsLabel(summary.tooBright[i]).c_str());
    std::fputc('\n', report);
}

void paste(SheetImage& image, const std::vector<uint8_t>& tile, uint32_t tileWidth, uint32_t tileHeight, uint32_t left,
           uint32_t top)
{
    for (uint32_t row = 0; row < tileHeight; ++row)
        std::memcpy(&image.rgba[(size_t(top + row) * image.width + left) * 4], &tile[size_t(row) * tileWidth * 4],
                    size_t(tileWidth) * 4);
}

}  // namespace

uint32_t filmstripThumbnailHeight(uint32_t frameWidth, uint32_t frameHeight)
{
    return std::max(1u, uint32_t(std::lround(double(filmstripThumbnailWidth) * frameHeight / frameWidth)));
}

double filmstripFrameTime(uint32_t second, const FrameRate& rate)
{
    return rate.frameTime(rate.firstFrameFrom(second));
}

std::vector<FrameRun> sceneRuns(const std::vector<FilmstripFrame>& frames)
{
    std::vector<FrameRun> runs;
    for (size_t i = 0; i < frames.size(); ++i)
        if (runs.empty() || frames[i].scene != frames[runs.back().first].scene)
            runs.push_back({i, i + 1});
        else
            runs.back().last = i + 1;
    return runs;
}

std::string secondsLabel(double t)
{
    char text[32];
    if (t == std::floor(t))
        std::snprintf(text, sizeof text, "%.0f s", t);
    else
        std::snprintf(text, sizeof text, "%.2f s", t);
    return text;
}

std::vector<FilmstripFrame> drawFilmstripFrames(Show& show, uint32_t width, uint32_t height, std::FILE* report)
{
    const FrameRate& rate = show.rate;
    const uint32_t thumbnailHeight = filmstripThumbnailHeight(width, height);
    std::fprintf(report, "%7s  %-15s %10s %9s  %s\n", "t (s)", "scene", "brightness", "contrast", "flags");
    std::vector<FilmstripFrame> frames;
    // The timeline closes the window by the end of its last row, so the loop ends there too.
    for (uint32_t second = 0; second <= uint32_t(timeline.back().end); ++second) {
        FilmstripFrame frame;
        frame.time = filmstripFrameTime(second, rate);
        frame.scene = sceneAt(frame.time);
        bool last = false;
        const std::vector<uint8_t> picture = captureShowFrame(show, frame.time, &last);
        frame.figures = measurePicture(picture, width, height);
        frame.thumbnail = boxFiltered(picture, width, height, filmstripThumbnailWidth, thumbnailHeight);
        printFrameLine(frame, report);
        frames.push_back(std::move(frame));
        if (last)
            break;
    }
    return frames;
}

void printFilmstripSummary(const std::vector<FilmstripFrame>& frames, std::FILE* report)
{
    std::fprintf(report,
                 "\ncontrast in [%.2f, %.2f] outside the planned fades; mean brightness above %.2f outside the "
                 "planned burn-outs\n",
                 photographContrastLow, photographContrastHigh, brightnessLimit);
    std::fprintf(report, "%-15s %6s %8s %8s %6s  %s\n", "scene", "frames", "counted", "in range", "share",
                 "too bright");
    for (const FrameRun& run : sceneRuns(frames))
        printSummaryLine(frames[run.first].scene->name, summarise(frames, run), report);
    printSummaryLine("whole show", summarise(frames, {0, frames.size()}), report);
}

SheetImage layOutFilmstrip(const std::vector<FilmstripFrame>& frames)
{
    const std::vector<FrameRun> runs = sceneRuns(frames);
    const uint32_t thumbnailWidth = filmstripThumbnailWidth;
    const uint32_t thumbnailHeight =
        frames.empty() ? 0 : uint32_t(frames[0].thumbnail.size() / 4 / filmstripThumbnailWidth);
    const uint32_t rowPitch = thumbnailHeight + captionHeight + gap;

    SheetImage strip;
    strip.width = columns * thumbnailWidth + (columns + 1) * gap;
    uint32_t thumbnailsHeight = gap;
    for (const FrameRun& run : runs)
        thumbnailsHeight += headingHeight + uint32_t((run.last - run.first + columns - 1) / columns) * rowPitch;
    const SheetImage plot = drawFigurePlot(frames, strip.width);
    strip.height = thumbnailsHeight + plot.height;
    strip.rgba.assign(size_t(strip.width) * strip.height * 4, groundLevel);
    for (size_t i = 3; i < strip.rgba.size(); i += 4)
        strip.rgba[i] = 255;

    // Each scene: a heading with its span and figures, then its thumbnails, each captioned
    // with its time beneath it so that the label hides nothing of the picture.
    uint32_t top = gap;
    for (const FrameRun& run : runs) {
        const SceneFigures summary = summarise(frames, run);
        char heading[160];
        std::snprintf(heading, sizeof heading, "%s   %s to %s   contrast in range %d %%   too bright %zu",
                      frames[run.first].scene->name, secondsLabel(frames[run.first].time).c_str(),
                      secondsLabel(frames[run.last - 1].time).c_str(), inRangePercent(summary),
                      summary.tooBright.size());
        drawLabel(strip.rgba, int(strip.width), int(strip.height), int(gap), int(top + 4), heading, captionScale,
                  headingInk);
        top += headingHeight;
        for (size_t i = run.first; i < run.last; ++i) {
            const uint32_t column = uint32_t(i - run.first) % columns;
            const uint32_t row = uint32_t(i - run.first) / columns;
            const uint32_t left = gap + column * (thumbnailWidth + gap);
            const uint32_t tileTop = top + row * rowPitch;
            paste(strip, frames[i].thumbnail, thumbnailWidth, thumbnailHeight, left, tileTop);
            drawLabel(strip.rgba, int(strip.width), int(strip.height), int(left), int(tileTop + thumbnailHeight + 3),
                      secondsLabel(frames[i].time), captionScale, captionInk);
        }
        top += uint32_t((run.last - run.first + columns - 1) / columns) * rowPitch;
    }

    paste(strip, plot.rgba, plot.width, plot.height, 0, thumbnailsHeight);
    return strip;
}

int runFilmstrip(Show& show, const std::string& path, uint32_t width, uint32_t height)
{
    const auto begin = std::chrono::steady_clock::now();
    const std::vector<FilmstripFrame> frames = drawFilmstripFrames(show, width, height, stdout);
    printFilmstripSummary(frames, stdout);
    const SheetImage strip = layOutFilmstrip(frames);
    const int rowBytes = int(strip.width) * 4;
    if (!stbi_write_png(path.c_str(), int(strip.width), int(strip.height), 4, strip.rgba.data(), rowBytes)) {
        std::fprintf(stderr, "capture: could not write %s\n", path.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%s: %zu frames of %ux%u in %.1f s\n", path.c_str(), frames.size(), width, height, seconds);
    return 0;
}
