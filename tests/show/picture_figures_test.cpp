// The filmstrip's figures: grain and dither do not count as contrast, a subject does, and the
// figure does not depend on the size the frame was drawn at. The strip: the first frame at or
// after each second, so that the frame on which the show closes is on it, laid out in rows per
// scene.
#include "filmstrip.h"
#include "picture_figures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A grey ground of luma level `groundLevel` (0 to 255) with a disc of `discLevel` in the middle,
// its radius 0.3 of the frame height, and per-pixel noise of up to +-`noise` levels.
std::vector<uint8_t> discFrame(uint32_t width, uint32_t height, int groundLevel, int discLevel, int noise)
{
    std::vector<uint8_t> rgba(size_t(width) * height * 4, 255);
    uint32_t state = 12345;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const double dx = (x + 0.5) - width / 2.0, dy = (y + 0.5) - height / 2.0;
            const bool inDisc = std::sqrt(dx * dx + dy * dy) < 0.3 * height;
            state = state * 1664525u + 1013904223u;
            const int offset = noise == 0 ? 0 : int(state >> 16) % (2 * noise + 1) - noise;
            const uint8_t level = uint8_t((inDisc ? discLevel : groundLevel) + offset);
            for (int c = 0; c < 3; ++c)
                rgba[(size_t(y) * width + x) * 4 + size_t(c)] = level;
        }
    return rgba;
}

}  // namespace

TEST(PictureFigures, GrainDoesNotCountButASubjectDoesAtAnySize)
{
    const PictureFigures grain = measurePicture(discFrame(480, 270, 128, 128, 2), 480, 270);
    EXPECT_NEAR(grain.meanBrightness, 128.0 / 255.0, 0.002);
    EXPECT_LT(grain.localContrast, 0.005);

    const std::vector<uint8_t> red = {255, 0, 0, 255, 255, 0, 0, 255};
    EXPECT_NEAR(measurePicture(red, 2, 1).meanBrightness, 0.2126, 1e-9);

    const PictureFigures subject = measurePicture(discFrame(480, 270, 60, 180, 0), 480, 270);
    EXPECT_GE(subject.localContrast, photographContrastLow);
    EXPECT_LE(subject.localContrast, photographContrastHigh);
    EXPECT_NEAR(measurePicture(discFrame(480, 270, 60, 180, 2), 480, 270).localContrast, subject.localContrast, 0.003);
    EXPECT_NEAR(measurePicture(discFrame(1920, 1080, 60, 180, 2), 1920, 1080).localContrast, subject.localContrast,
                0.01);
    EXPECT_NEAR(measurePicture(discFrame(320, 180, 60, 180, 0), 320, 180).localContrast, subject.localContrast, 0.01);
}

TEST(Filmstrip, AFrameAtOrAfterEachSecondAndRowsPerScene)
{
    EXPECT_EQ(filmstripFrameTime(25, FrameRate{60, 1}), 25.0);
    const FrameRate ntsc{60000, 1001};
    const double closing = filmstripFrameTime(116, ntsc);
    EXPECT_GE(closing, 116.0);
    EXPECT_LT(closing - 1001.0 / 60000.0, 116.0);

    // 17 frames of one scene and 2 of the next, each thumbnail a flat colour of its own: the
    // 16th wraps to a second row, and the next scene starts a row of its own.
    const uint32_t thumbnailHeight = filmstripThumbnailHeight(480, 270);
    std::vector<FilmstripFrame> frames(19);
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i].time = double(i);
        frames[i].scene = i < 17 ? &timeline[tunnelIntroRow] : &timeline[particlesRow];
        frames[i].thumbnail.assign(size_t(filmstripThumbnailWidth) * thumbnailHeight * 4, 255);
        for (size_t p = 0; p < frames[i].thumbnail.size(); p += 4)
            frames[i].thumbnail[p] = uint8_t(100 + i);
    }
    const std::vector<FrameRun> runs = sceneRuns(frames);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].first, 17u);
    EXPECT_EQ(runs[1].last, 19u);

    const SheetImage strip = layOutFilmstrip(frames);
    auto topLeftOf = [&strip](size_t i) {
        for (uint32_t y = 0; y < strip.height; ++y)
            for (uint32_t x = 0; x < strip.width; ++x)
                if (strip.rgba[(size_t(y) * strip.width + x) * 4] == 100 + i)
                    return std::pair<uint32_t, uint32_t>(x, y);
        return std::pair<uint32_t, uint32_t>(0, 0);
    };
    const auto first = topLeftOf(0), fifteenth = topLeftOf(14), wrapped = topLeftOf(15), next = topLeftOf(17);
    EXPECT_EQ(fifteenth.second, first.second);
    EXPECT_EQ(wrapped.first, first.first);
    EXPECT_GT(wrapped.second, first.second + thumbnailHeight);
    EXPECT_EQ(next.first, first.first);
    EXPECT_GT(next.second, wrapped.second + thumbnailHeight);
}
