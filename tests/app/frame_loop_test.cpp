// The timeline's rows and the frame loop's ending rule, on the headless platform.
#include "app/frame_loop.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "show/show.h"
#include "show/timeline.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

TEST(Timeline, RowsAndTheirBoundaries)
{
    // The rows tile the show from 0 s to the timeline's hard limit without a gap, and the show
    // ends itself inside the last one.
    EXPECT_EQ(timeline.front().start, 0.0);
    for (int i = 1; i < sceneCount; ++i)
        EXPECT_EQ(timeline[size_t(i)].start, timeline[size_t(i) - 1].end) << timeline[size_t(i)].name;
    EXPECT_EQ(timeline.back().end, 140.0);
    EXPECT_EQ(showEnd, 116.0);
    EXPECT_FALSE(showClosesAt(115.999));
    EXPECT_TRUE(showClosesAt(116.0));

    struct Case {
        double t;
        int row;  // -1: past the last row, no scene
        double sceneTime;
    };
    const Case cases[] = {
        {0.0, 0, 0.0},   {24.999, 0, 24.999}, {25.0, 1, 0.0},  // a boundary belongs to the later row
        {34.5, 1, 9.5},  {35.0, 2, 0.0},      {64.75, 2, 29.75}, {65.0, 3, 65.0},  // the fireworks take absolute time
        {79.5, 3, 79.5}, {80.0, 4, 0.0},      {116.0, 4, 36.0},  {139.999, 4, 59.999}, {140.0, -1, 0.0}, {1e9, -1, 0.0},
    };
    for (const Case& c : cases) {
        const SceneRow* row = sceneAt(c.t);
        if (c.row < 0) {
            EXPECT_EQ(row, nullptr) << "t = " << c.t;
            continue;
        }
        ASSERT_EQ(row, &timeline[size_t(c.row)]) << "t = " << c.t;
        EXPECT_NEAR(sceneTime(*row, c.t), c.sceneTime, 1e-9) << "t = " << c.t;
    }
}

namespace {
int framesDrawn = 0;
int closeAtFrame = 0;
double firstFrameTime = -1.0, lastFrameTime = -1.0;

void countingFrame(Show&, double t)
{
    ++framesDrawn;
    if (firstFrameTime < 0)
        firstFrameTime = t;
    lastFrameTime = t;
    if (framesDrawn == closeAtFrame)
        closeWindow();
}

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensureGLContext()) << "no headless OpenGL 3.3 context";
        reopenHeadlessWindow();
        setHeadlessEscapeHeld(false);
        framesDrawn = 0;
        firstFrameTime = lastFrameTime = -1.0;
    }
    // Nothing of it is drawn: the frames only count.
    Show show;
};
}

TEST_F(FrameLoop, CloseInsideAFrameStillPresentsItAndOneMore)
{
    closeAtFrame = 3;
    const int swapsBefore = headlessSwapCount();
    const int result = runFrameLoop(show, countingFrame);
    EXPECT_EQ(framesDrawn, 4);
    EXPECT_EQ(headlessSwapCount() - swapsBefore, 4);
    EXPECT_EQ(result, 1);  // the last swap's own result
}

TEST_F(FrameLoop, DemoTimeStartsAtZeroAndGrows)
{
    closeAtFrame = 20;
    runFrameLoop(show, countingFrame);
    EXPECT_GE(firstFrameTime, 0.0);
    EXPECT_LT(firstFrameTime, 0.05);
    EXPECT_GT(lastFrameTime, firstFrameTime);
}
