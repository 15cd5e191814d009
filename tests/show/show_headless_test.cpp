// The whole show, started by its own start-up on the headless platform at a small size and
// drawn at chosen demo times, as the capture tool draws it.
#include "frame_stacking.h"
#include "headless_show.h"
#include "render_fixture.h"
#include "show/reference_generator.h"

#include "app/frame_loop.h"
#include "app/timeline_frame.h"
#include "objects/particle_field.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "render/camera.h"
#include "render/programs.h"
#include "render/renderer.h"
#include "render/shader_library.h"
#include "show/scenes.h"
#include "show/show.h"
#include "support/gl_context.h"

#include <EGL/egl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr uint32_t width = 160, height = 90;

// The one show of this process, started once for all the cases.
Show* show = nullptr;

class HeadlessShow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        int exitStatus = 0;
        show = startHeadlessShow(width, height, exitStatus);
    }
    void SetUp() override
    {
        ASSERT_NE(show, nullptr) << "the show did not start headless";
        reopenHeadlessWindow();
        enterFullscreen();
        show->rate = FrameRate{60, 1};
    }
};

// The largest difference of one channel between two frames, in 8-bit steps, and the share of
// pixels that differ at all.
struct FrameDifference {
    int largest = 0;
    double share = 0.0;
};

FrameDifference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    FrameDifference difference;
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        int largest = 0;
        for (size_t c = 0; c < 3; ++c)
            largest = std::max(largest, std::abs(int(a[i + c]) - int(b[i + c])));
        differing += largest > 0;
        difference.largest = std::max(difference.largest, largest);
    }
    difference.share = double(differing) / double(a.size() / 4);
    return difference;
}

double meanLevel(const std::vector<uint8_t>& rgba)
{
    double sum = 0.0;
    for (size_t i = 0; i < rgba.size(); i += 4)
        sum += rgba[i] + rgba[i + 1] + rgba[i + 2];
    return sum / double(rgba.size() / 4 * 3);
}

// Every float target a frame passes through, checked for NaN and infinity.
std::string firstNonFiniteTarget()
{
    struct Target {
        Renderer::TextureIndex index;
        int divisor;
        const char* name;
    };
    const Target targets[] = {{Renderer::sceneColor, 1, "sceneColor"},
                              {Renderer::halfColor, 2, "halfColor"},
                              {Renderer::dofResult, 2, "dofResult"},
                              {Renderer::glowA, 4, "glowA"},
                              {Renderer::glowB, 4, "glowB"}};
    for (const Target& target : targets) {
        const auto values = readRectangleFloats(show->renderer->texture(target.index), int(width) / target.divisor,
                                                int(height) / target.divisor, GL_RGBA, 4);
        for (float value : values)
            if (!std::isfinite(value))
                return target.name;
    }
    return "";
}

}  // namespace

TEST_F(HeadlessShow, ParticleColoursFollowTheRenderersDraws)
{
    ReferenceGenerator reference{7928};
    for (int i = 0; i < 2048 + 48; ++i)
        reference.unit();
    ASSERT_EQ(show->particleField->count(), 32u);
    for (uint32_t i = 0; i < 32; ++i) {
        float draws[10];
        for (float& draw : draws)
            draw = reference.unit();
        EXPECT_EQ(show->particleField->colors()[i], glm::vec3(draws[4], draws[3], draws[2]) * 10.0f)
            << "particle " << i;
    }
}

TEST_F(HeadlessShow, BlackAtTheStartAPictureInEveryScene)
{
    bool last = false;
    const std::vector<uint8_t> first = captureShowFrame(*show, 0.0, &last);
    uint8_t brightest = 0;
    for (size_t i = 0; i < first.size(); i += 4)
        brightest = std::max({brightest, first[i], first[i + 1], first[i + 2]});
    EXPECT_LE(brightest, 1) << "the first frame is not black (dither may add one step)";
    EXPECT_EQ(firstNonFiniteTarget(), "");

    // Inside each scene, and the flash's very first frame, where 1 + 100 / u is largest.
    for (double t : {6.0, 25.0, 25.001, 30.0, 45.0, 70.0, 90.0, 115.0}) {
        const std::vector<uint8_t> frame = captureShowFrame(*show, t);
        EXPECT_GT(meanLevel(frame), 20.0) << "t = " << t;
        EXPECT_EQ(firstNonFiniteTarget(), "") << "t = " << t;
        writeTestImage("show-" + std::to_string(int(t * 1000)), frame, width, height);
    }
}

TEST_F(HeadlessShow, BurntOutMomentsHaveNoHoles)
{
    // The flash's first frames (exposure 1 + 100 / u up to 10^5), the intro's burn-out and the
    // credits' fade to white: the light runs off every scale, and a NaN or an infinity on the
    // way shows as black holes in a white frame, or spreads through the glow as blotches.
    for (double t : {25.001, 25.1, 24.9, 64.9}) {
        const std::vector<uint8_t> frame = captureShowFrame(*show, t);
        EXPECT_EQ(firstNonFiniteTarget(), "") << "t = " << t;
        std::vector<int> darkest;
        for (size_t i = 0; i < frame.size(); i += 4)
            darkest.push_back(std::min({frame[i], frame[i + 1], frame[i + 2]}));
        std::vector<int> sorted = darkest;
        std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
        const int median = sorted[sorted.size() / 2];
        EXPECT_GT(median, 200) << "t = " << t << ": not burnt out";
        const long holes = std::count_if(darkest.begin(), darkest.end(), [&](int v) { return v < median / 2; });
        EXPECT_EQ(holes, 0) << "t = " << t;
    }
}

TEST_F(HeadlessShow, EachRowOfTheTimelineDrawsItsOwnScene)
{
    // The camera each scene leaves is its own: after the frame at t, the show's camera equals
    // a copy placed by the scene that row names, at that row's scene time.
    struct Row {
        double t;
        void (*place)(Camera&, double);
        double sceneTime;
    };
    const Row rows[] = {{10.0, placeTunnelIntroCamera, 10.0},
                        {30.0, placeParticlesCamera, 5.0},
                        {50.0, placeCreditsCamera, 15.0},
                        {70.0, placeTunnelFireworksCamera, 70.0},
                        {100.0, placeCarouselCamera, 20.0}};
    for (const Row& row : rows) {
        captureShowFrame(*show, row.t);
        Camera expected = show->camera;
        row.place(expected, row.sceneTime);
        EXPECT_EQ(show->camera.view(), expected.view()) << "t = " << row.t;
        EXPECT_EQ(show->camera.exposure(), expected.exposure()) << "t = " << row.t;
    }
    // And each scene's camera really differs from the others' at these times, or the check
    // above could not tell the rows apart.
    for (const Row& row : rows)
        for (const Row& other : rows) {
            if (&row == &other)
                continue;
            Camera a = show->camera, b = show->camera;
            row.place(a, row.sceneTime);
            other.place(b, row.sceneTime);
            EXPECT_TRUE(a.view() != b.view() || a.exposure() != b.exposure()) << row.t << " and " << other.t;
        }
}

TEST_F(HeadlessShow, FireworksScrollTwiceAsFastAsTheWallTheOtherWay)
{
    // The streak layers take -2 t where the tunnel wall takes t: the fireworks rush towards the
    // camera while the wall slides the other way. Read back from the linked programs.
    using GetUniformDouble = void(APIENTRY*)(GLuint, GLint, GLdouble*);
    const auto getUniform = reinterpret_cast<GetUniformDouble>(eglGetProcAddress("glGetUniformdv"));
    ASSERT_NE(getUniform, nullptr);
    captureShowFrame(*show, 70.0);
    GLdouble wall = 0.0, streaks = 0.0;
    // The wall's scrolling shows in its normal map, drawn in the geometry pass.
    getUniform(programs[9], program::tunnelNMGeometryNM.time.location, &wall);
    getUniform(programs[15], program::tunnelTunnelFireWorks.time.location, &streaks);
    EXPECT_EQ(wall, 70.0);
    EXPECT_EQ(streaks, -140.0);
}

TEST_F(HeadlessShow, AFrameDrawnAloneIsTheFramePlayedInSequenceAtEachRate)
{
    // The flash keeps the intro's last focus, which frame that is depends on the rate, and the
    // carousel changes the placed model and the ambient light. At two rates: played from the
    // start into the flash, and the credits after it, then each frame drawn alone after the
    // carousel. (llvmpipe leaves a few pixels one or two steps apart depending on the frame
    // before, even with every input equal.)
    for (const FrameRate rate : {FrameRate{1, 1}, FrameRate{10, 1}}) {
        show->rate = rate;
        std::vector<uint8_t> played;
        for (uint64_t frame = 0; frame <= rate.firstFrameFrom(30); ++frame)
            played = captureShowFrame(*show, rate.frameTime(frame));
        const double flashTime = rate.frameTime(rate.firstFrameFrom(30));
        const std::vector<uint8_t> creditsAfterPlaying = captureShowFrame(*show, 50.0);

        captureShowFrame(*show, 90.0);
        const FrameDifference flash = compareFrames(captureShowFrame(*show, flashTime), played);
        EXPECT_LE(flash.largest, 3) << rate.numerator << " fps";
        EXPECT_LT(flash.share, 0.01) << rate.numerator << " fps";
        // The focus is the intro's last frame's at this rate (24 s at 1 fps, 24.9 s at 10): at
        // this size the two differ too little to show in the pixels.
        EXPECT_EQ(show->camera.focusDistance(), tunnelIntroFocusDistance(rate.frameTime(rate.lastFrameBefore(25))))
            << rate.numerator << " fps";
        captureShowFrame(*show, 100.0);
        const FrameDifference credits = compareFrames(captureShowFrame(*show, 50.0), creditsAfterPlaying);
        EXPECT_LE(credits.largest, 3) << rate.numerator << " fps";
        EXPECT_LT(credits.share, 0.01) << rate.numerator << " fps";
    }

    // And the same time twice in a row gives the same pixels.
    EXPECT_EQ(captureShowFrame(*show, 72.5), captureShowFrame(*show, 72.5));
}

TEST_F(HeadlessShow, ClosesItselfOnTheFirstFrameAtOrAfter116Seconds)
{
    for (const FrameRate rate : {FrameRate{10, 1}, FrameRate{60000, 1001}}) {
        reopenHeadlessWindow();
        const uint64_t firstAfterEnd = (uint64_t(116) * rate.numerator + rate.denominator - 1) / rate.denominator;
        for (uint64_t frame = firstAfterEnd - 3; frame <= firstAfterEnd; ++frame) {
            bool last = false;
            captureShowFrame(*show, rate.frameTime(frame), &last);
            EXPECT_EQ(last, frame == firstAfterEnd)
                << "frame " << frame << " at " << rate.numerator << "/" << rate.denominator;
        }
        // That frame was still drawn; the next drain takes the quit.
        EXPECT_TRUE(drainMessages());
    }
}

TEST_F(HeadlessShow, EscapeHeldAtStartEndsAfterTheFirstFrameAndOneMore)
{
    setHeadlessEscapeHeld(true);
    const int swapsBefore = headlessSwapCount();
    runFrameLoop(*show, timelineFrame);
    setHeadlessEscapeHeld(false);
    EXPECT_EQ(headlessSwapCount() - swapsBefore, 2);
}

namespace {

double decodeSrgb(uint8_t value)
{
    const double v = value / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double encodeSrgb(double linear)
{
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

}  // namespace

TEST_F(HeadlessShow, AStackedFrameIsTheLinearLightMeanOfItsSubFramesDrawnOneByOne)
{
    // In the fireworks, where everything moves: four sub-frames over half of a 30 fps interval.
    const Shutter shutter{4, 0.5};
    const double t = 72.0;
    const std::vector<double> times = subframeTimes(t, 1.0 / 30.0, shutter);
    ASSERT_EQ(times.size(), 4u);
    EXPECT_NEAR((times.front() + times.back()) / 2.0, t, 1e-9);
    EXPECT_NEAR(times.back() - times.front(), 0.75 * 0.5 / 30.0, 1e-9);
    const std::vector<uint8_t> stacked = captureStackedShowFrame(*show, t, 1.0 / 30.0, shutter);
    std::vector<double> sum(stacked.size(), 0.0);
    for (double time : times) {
        const std::vector<uint8_t> frame = captureShowFrame(*show, time);
        ASSERT_EQ(frame.size(), stacked.size());
        for (size_t i = 0; i < frame.size(); ++i)
            sum[i] += decodeSrgb(frame[i]);
    }
    int largest = 0, moved = 0;
    const std::vector<uint8_t> first = captureShowFrame(*show, times.front());
    for (size_t i = 0; i < stacked.size(); i += 4)
        for (size_t c = 0; c < 3; ++c) {
            const int expected = int(std::lround(255.0 * encodeSrgb(sum[i + c] / 4.0)));
            largest = std::max(largest, std::abs(expected - int(stacked[i + c])));
            moved += first[i + c] != stacked[i + c];
        }
    // Within the output's rounding, and the blur is there: the stack is not its first sub-frame.
    EXPECT_LE(largest, 1);
    EXPECT_GT(moved, int(stacked.size() / 40));
    // One sub-frame is the frame itself, bit for bit; and no sub-frame crosses a cut.
    EXPECT_EQ(captureStackedShowFrame(*show, t, 1.0 / 30.0, Shutter{1, 0.5}), captureShowFrame(*show, t));
    for (double time : subframeTimes(80.0, 1.0 / 30.0, Shutter{8, 1.0}))
        EXPECT_GE(time, 80.0);
    for (double time : subframeTimes(24.99, 1.0 / 30.0, Shutter{8, 1.0}))
        EXPECT_LT(time, 25.0);
}
