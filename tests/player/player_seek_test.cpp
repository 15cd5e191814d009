// A frame the player reaches by playing or by jumping is the frame the show plays at that time,
// as capture draws it alone: the show's own start-up on the headless platform, the player's
// frame drawn after runs that leave the handed-on state (focus, placed model, ambient colour)
// somewhere else, compared with capture's frame at the same time, bit for bit.
#include "headless_show.h"
#include "player_frame.h"

#include "app/frame_loop.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr uint32_t width = 160, height = 90;

class PlayerSeek : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        int exitStatus = 0;
        show = startHeadlessShow(width, height, exitStatus);
    }
    void SetUp() override { ASSERT_NE(show, nullptr) << "the show did not start headless"; }

    static std::vector<uint8_t> playerFrame(double t)
    {
        runFrameAt(*show, t, drawPlayerFrame);
        uint32_t w = 0, h = 0;
        return readPresentedFrame(w, h);
    }

    // Plays from `from` to `to` at an odd frame rate, as a display other than 60 Hz would.
    static void play(double from, double to)
    {
        for (double t = from; t < to; t += 1.0 / 37.0)
            playerFrame(t);
    }

    static Show* show;
};
Show* PlayerSeek::show = nullptr;

size_t differingBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += a[i] != b[i];
    return count + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

}

// The flash scene keeps the focus of the intro's last frame; the player plays the intro at 37
// fps, then jumps back into the flash from the carousel, which has swapped the model and tinted
// the ambient light.
TEST_F(PlayerSeek, JumpsAndPlayingGiveCapturesFrames)
{
    play(24.8, 25.3);
    const std::vector<uint8_t> playedIntoFlash = playerFrame(25.3);
    EXPECT_EQ(differingBytes(playedIntoFlash, captureShowFrame(*show, 25.3)), 0u) << "played into the flash";

    play(84.0, 84.1);
    const std::vector<uint8_t> jumpedBack = playerFrame(27.0);
    EXPECT_EQ(differingBytes(jumpedBack, captureShowFrame(*show, 27.0)), 0u) << "jumped back from the carousel";

    play(90.0, 90.05);
    const std::vector<uint8_t> credits = playerFrame(40.0);
    EXPECT_EQ(differingBytes(credits, captureShowFrame(*show, 40.0)), 0u) << "credits after the carousel";

    const std::vector<uint8_t> end = playerFrame(116.0);
    EXPECT_FALSE(headlessWindowClosed()) << "the player's frame never closes the window";
    EXPECT_EQ(differingBytes(end, captureShowFrame(*show, 116.0)), 0u) << "the show's last frame";
}
