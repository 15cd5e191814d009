// The timeline's rows and the frame loop's ending rule, on the headless platform.
#include "app/frame_loop.h"
#include "app/timeline.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

TEST(Timeline, RowsAndTheirBoundaries)
{
    struct Case {
        double t;
        TimelineAction action;
        double sceneTime;
    };
    const Case cases[] = {
        {0.0, TimelineAction::TunnelIntro, 0.0},
        {24.999, TimelineAction::TunnelIntro, 24.999},
        {25.0, TimelineAction::Particles, 0.0},  // a boundary belongs to the later row
        {34.5, TimelineAction::Particles, 9.5},
        {35.0, TimelineAction::Credits, 0.0},
        {64.75, TimelineAction::Credits, 29.75},
        {65.0, TimelineAction::TunnelFireworks, 65.0},  // the fireworks take absolute time
        {79.5, TimelineAction::TunnelFireworks, 79.5},
        {80.0, TimelineAction::Carousel, 0.0},
        {116.0, TimelineAction::Carousel, 36.0},
        {139.999, TimelineAction::Carousel, 59.999},
        {140.0, TimelineAction::Close, 0.0},
        {1e9, TimelineAction::Close, 0.0},
    };
    for (const Case& c : cases) {
        const TimelineStep step = timelineStep(c.t);
        EXPECT_EQ(step.action, c.action) << "t = " << c.t;
        EXPECT_NEAR(step.sceneTime, c.sceneTime, 1e-9) << "t = " << c.t;
    }
}

namespace {
int framesDrawn = 0;
int closeAtFrame = 0;
double firstFrameTime = -1.0, lastFrameTime = -1.0;

void countingFrame()
{
    ++framesDrawn;
    if (firstFrameTime < 0)
        firstFrameTime = demoTime();
    lastFrameTime = demoTime();
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
};
}

TEST_F(FrameLoop, CloseInsideAFrameStillPresentsItAndOneMore)
{
    closeAtFrame = 3;
    const int swapsBefore = headlessSwapCount();
    const int result = runFrameLoop(countingFrame);
    EXPECT_EQ(framesDrawn, 4);
    EXPECT_EQ(headlessSwapCount() - swapsBefore, 4);
    EXPECT_EQ(result, 1);  // the last swap's own result
}

TEST_F(FrameLoop, DemoTimeStartsAtZeroAndGrows)
{
    closeAtFrame = 20;
    runFrameLoop(countingFrame);
    EXPECT_GE(firstFrameTime, 0.0);
    EXPECT_LT(firstFrameTime, 0.05);
    EXPECT_GT(lastFrameTime, firstFrameTime);
}
