// The player's controls without a window or a device: its command line, its clock, what each
// key does to demo time, and what it reads from the timeline.
#include "player_clock.h"
#include "player_options.h"
#include "player_session.h"
#include "player_timeline.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t perSecond = 1000;

// The session's counter, in milliseconds, set by the test.
int64_t fakeNow = 0;
int64_t readFakeCounter()
{
    return fakeNow;
}

PlayerOptions parsed(const std::vector<std::string>& arguments)
{
    PlayerOptions options;
    std::string error;
    EXPECT_TRUE(parsePlayerOptions(arguments, options, error)) << error;
    return options;
}

std::string refusal(const std::vector<std::string>& arguments)
{
    PlayerOptions options;
    std::string error;
    EXPECT_FALSE(parsePlayerOptions(arguments, options, error));
    return error;
}

}

TEST(PlayerOptions, TakesEveryOptionAndRefusesWhatItCannotUse)
{
    const PlayerOptions options = parsed({"--time", "93.5", "--paused", "--size", "320x180", "--fullscreen"});
    EXPECT_DOUBLE_EQ(options.startTime, 93.5);
    EXPECT_TRUE(options.paused);
    EXPECT_EQ(options.width, 320u);
    EXPECT_EQ(options.height, 180u);
    EXPECT_TRUE(options.fullscreen);

    const PlayerOptions defaults = parsed({});
    EXPECT_EQ(defaults.startTime, 0.0);
    EXPECT_FALSE(defaults.paused);
    EXPECT_FALSE(defaults.fullscreen);

    EXPECT_EQ(refusal({"--speed", "2"}), "unknown option --speed");
    EXPECT_EQ(refusal({"--time"}), "--time needs a value");
    EXPECT_NE(refusal({"--time", "-1"}).find("not -1"), std::string::npos);
    EXPECT_NE(refusal({"--time", "nan"}).find("not nan"), std::string::npos);
    EXPECT_NE(refusal({"--time", "3s"}).find("not 3s"), std::string::npos);
    EXPECT_NE(refusal({"--size", "320"}).find("not 320"), std::string::npos);
    EXPECT_NE(refusal({"--size", "8x8"}).find("not 8x8"), std::string::npos);
    EXPECT_NE(refusal({"--size", "99999x100"}).find("not 99999x100"), std::string::npos);
    EXPECT_NE(refusal({"--size", "-320x180"}).find("not -320x180"), std::string::npos);
}

TEST(PlayerClock, RunsHoldsJumpsAndStopsAtTheEnd)
{
    PlayerClock clock(10.0, false, 116.0, perSecond, 0);
    EXPECT_DOUBLE_EQ(clock.time(500), 10.5);
    clock.setPaused(true, 1000);
    EXPECT_DOUBLE_EQ(clock.time(5000), 11.0) << "a paused clock holds";
    clock.setPaused(false, 5000);
    EXPECT_DOUBLE_EQ(clock.time(6000), 12.0) << "and runs on from where it held";
    clock.seek(100.0, 6000);
    EXPECT_DOUBLE_EQ(clock.time(7000), 101.0);
    EXPECT_DOUBLE_EQ(clock.time(60000), 116.0) << "never past the end";
    EXPECT_TRUE(clock.atEnd(60000));
    clock.seek(-5.0, 0);
    EXPECT_DOUBLE_EQ(clock.time(0), 0.0);
    EXPECT_DOUBLE_EQ(PlayerClock(500.0, true, 116.0, perSecond, 0).time(0), 116.0);
}

TEST(PlayerTimeline, ScenesStartAndTheShowEndsWhereTheTimelineSays)
{
    const auto starts = sceneStartTimes();
    const double expected[] = {0.0, 25.0, 35.0, 65.0, 80.0};
    for (int i = 0; i < playerSceneCount; ++i)
        EXPECT_DOUBLE_EQ(starts[size_t(i)], expected[i]) << "scene " << i + 1;
    EXPECT_DOUBLE_EQ(showEndTime(), 116.0);
    EXPECT_EQ(playerTitle(93.4171, 59.84, true), "t 93.417 s | carousel 13.417 s | 59.8 fps | paused");
    EXPECT_EQ(playerTitle(70.0, 60.0, false), "t 70.000 s | fireworks 70.000 s | 60.0 fps");
}

// No music is loaded here: the session's calls into it do nothing.
TEST(PlayerKeys, MoveTimeAsDocumented)
{
    fakeNow = 0;
    PlayerSession session(50.0, true, perSecond, readFakeCounter);
    auto press = [&](PlayerKey key, bool shift = false, int scene = 0) {
        return session.press(KeyPress{key, shift, scene});
    };
    EXPECT_EQ(press(PlayerKey::Right), PlayerAction::TimeChanged);
    EXPECT_DOUBLE_EQ(session.frameTime(), 51.0);
    press(PlayerKey::Left, true);
    EXPECT_DOUBLE_EQ(session.frameTime(), 41.0);
    press(PlayerKey::Period);
    EXPECT_DOUBLE_EQ(session.frameTime(), 2461.0 / 60.0) << "one 60 fps frame on";
    press(PlayerKey::Comma);
    press(PlayerKey::Comma);
    EXPECT_DOUBLE_EQ(session.frameTime(), 2459.0 / 60.0);
    press(PlayerKey::Scene, false, 3);
    EXPECT_DOUBLE_EQ(session.frameTime(), 65.0);
    EXPECT_EQ(press(PlayerKey::Scene, false, 7), PlayerAction::None);
    press(PlayerKey::Home);
    EXPECT_DOUBLE_EQ(session.frameTime(), 0.0);
    press(PlayerKey::Comma);
    EXPECT_DOUBLE_EQ(session.frameTime(), 0.0) << "no frame before the first";
    EXPECT_EQ(press(PlayerKey::Reload), PlayerAction::ReloadShaders);
    EXPECT_EQ(press(PlayerKey::Escape), PlayerAction::Quit);
    EXPECT_TRUE(session.paused()) << "none of these plays";

    // Playing: frames step only while paused, seeks keep it playing, and the clock runs.
    press(PlayerKey::Space);
    EXPECT_FALSE(session.paused());
    EXPECT_EQ(press(PlayerKey::Period), PlayerAction::None);
    fakeNow = 2500;
    EXPECT_DOUBLE_EQ(session.frameTime(), 2.5);
    press(PlayerKey::Right, true);
    EXPECT_FALSE(session.paused());
    fakeNow = 3000;
    EXPECT_DOUBLE_EQ(session.frameTime(), 13.0);
    press(PlayerKey::Space);
    EXPECT_TRUE(session.paused());
    fakeNow = 9000;
    EXPECT_DOUBLE_EQ(session.frameTime(), 13.0);
}

TEST(PlayerKeys, PlayingStopsAtTheShowsEndAndSpacePlaysAgainFromTheStart)
{
    fakeNow = 0;
    PlayerSession session(115.0, false, perSecond, readFakeCounter);
    fakeNow = 2000;
    EXPECT_DOUBLE_EQ(session.frameTime(), 116.0);
    EXPECT_TRUE(session.paused());
    session.press(KeyPress{PlayerKey::Right, true});
    EXPECT_DOUBLE_EQ(session.frameTime(), 116.0) << "no seek past the end";
    fakeNow = 3000;
    session.press(KeyPress{PlayerKey::Space});
    EXPECT_FALSE(session.paused());
    fakeNow = 4000;
    EXPECT_DOUBLE_EQ(session.frameTime(), 1.0);
}
