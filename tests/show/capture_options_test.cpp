// The capture tool's command line: what it accepts, the defaults it fills in, and that each
// refusal names the argument at fault.
#include "capture_options.h"
#include "contact_sheet.h"

#include <gtest/gtest.h>

namespace {
bool parse(std::vector<std::string> arguments, CaptureOptions& options, std::string& error)
{
    options = CaptureOptions();
    error.clear();
    return parseCaptureOptions(arguments, options, error);
}
}

TEST(CaptureOptions, FramesAndSheetsWithTheirDefaults)
{
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--time", "27.5", "--out", "f.png"}, options, error)) << error;
    EXPECT_EQ(options.mode, CaptureMode::Frame);
    EXPECT_EQ(options.time, 27.5);
    EXPECT_EQ(options.width, 1280u);
    EXPECT_EQ(options.height, 720u);
    EXPECT_EQ(options.rate.numerator, 60u);
    EXPECT_EQ(options.rate.denominator, 1u);

    ASSERT_TRUE(parse({"--sheet", "s.png", "--size", "320x180", "--fps", "60000/1001"}, options, error)) << error;
    EXPECT_EQ(options.mode, CaptureMode::Sheet);
    EXPECT_EQ(options.outputPath, "s.png");
    EXPECT_EQ(options.width, 320u);
    EXPECT_EQ(options.height, 180u);
    EXPECT_EQ(options.rate.numerator, 60000u);
    EXPECT_EQ(options.rate.denominator, 1001u);

    ASSERT_TRUE(parse({"--filmstrip", "strip.png"}, options, error)) << error;
    EXPECT_EQ(options.mode, CaptureMode::Filmstrip);
    EXPECT_EQ(options.width, 480u);
    EXPECT_EQ(options.height, 270u);
}

TEST(CaptureOptions, VideosAndFrameFolders)
{
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--out", "show.mp4"}, options, error)) << error;
    EXPECT_EQ(options.mode, CaptureMode::Video);
    EXPECT_EQ(options.width, 1920u);
    EXPECT_EQ(options.height, 1080u);
    EXPECT_EQ(options.from, 0.0);
    EXPECT_EQ(options.to, 140.0);
    EXPECT_EQ(options.crf, -1);

    ASSERT_TRUE(parse({"--out", "part.mkv", "--from", "30", "--to", "31.5", "--crf", "0", "--fps", "30000/1001"},
                      options, error))
        << error;
    EXPECT_EQ(options.mode, CaptureMode::Video);
    EXPECT_EQ(options.from, 30.0);
    EXPECT_EQ(options.to, 31.5);
    EXPECT_EQ(options.crf, 0);
    EXPECT_EQ(options.rate.numerator, 30000u);

    ASSERT_TRUE(parse({"--frames", "out", "--size", "64x36"}, options, error)) << error;
    EXPECT_EQ(options.mode, CaptureMode::Frames);
    EXPECT_EQ(options.outputPath, "out");
    EXPECT_EQ(options.width, 64u);
}

TEST(CaptureOptions, FrameStackingAndTheReport)
{
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--out", "show.mp4", "--subframes", "8", "--shutter", "0.25", "--strict"}, options, error))
        << error;
    EXPECT_EQ(options.mode, CaptureMode::Video);
    EXPECT_EQ(options.subframes, 8);
    EXPECT_EQ(options.shutter, 0.25);
    EXPECT_TRUE(options.strict);
    ASSERT_TRUE(parse({"--time", "75", "--out", "f.png", "--subframes", "4"}, options, error)) << error;
    EXPECT_EQ(options.shutter, 0.5);
    ASSERT_TRUE(parse({"--strict", "--report", "v.mp4"}, options, error)) << error;
    EXPECT_EQ(options.mode, CaptureMode::Report);
    EXPECT_EQ(options.reportPath, "v.mp4");
    EXPECT_TRUE(options.strict);
}

TEST(CaptureOptions, RefusesWhatCannotBeCaptured)
{
    CaptureOptions options;
    std::string error;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "one of"},
        {{"--time", "3"}, "one of"},
        {{"--out", "f.png"}, "--time"},
        {{"--time", "3", "--out", "f.png", "--sheet", "s.png"}, "one of"},
        {{"--time", "3", "--sheet", "s.png"}, "--time is for one frame"},
        {{"--time", "3", "--filmstrip", "f.png"}, "--time is for one frame"},
        {{"--sheet", "s.png", "--filmstrip", "f.png"}, "one of"},
        {{"--out", "show.mp4", "--from", "50", "--to", "40"}, "--from must come before --to"},
        {{"--out", "show.mp4", "--to", "141"}, "--to"},
        {{"--out", "show.mp4", "--crf", "64"}, "--crf"},
        {{"--frames", "dir", "--crf", "20"}, "--crf is for a video"},
        {{"--time", "3", "--out", "f.png", "--from", "2"}, "--from and --to are for"},
        {{"--time", "-1", "--out", "f.png"}, "--time"},
        {{"--time", "nan", "--out", "f.png"}, "--time"},
        {{"--time", "3s", "--out", "f.png"}, "--time"},
        {{"--time", "3", "--out", "f.png", "--size", "8x8"}, "--size"},
        {{"--time", "3", "--out", "f.png", "--size", "1280x"}, "--size"},
        {{"--time", "3", "--out", "f.png", "--size", "99999999999x720"}, "--size"},
        {{"--time", "3", "--out", "f.png", "--fps", "0"}, "--fps"},
        {{"--time", "3", "--out", "f.png", "--fps", "60/0"}, "--fps"},
        {{"--time", "3", "--out", "f.png", "--fps", "29.97"}, "--fps"},
        {{"--time", "3", "--out", "f.png", "--fps"}, "--fps needs a value"},
        {{"--time", "3", "--out", "f.png", "--colour", "red"}, "unknown option --colour"},
        {{"--out", "show.mp4", "--subframes", "0"}, "--subframes"},
        {{"--out", "show.mp4", "--subframes", "65"}, "--subframes"},
        {{"--out", "show.mp4", "--subframes", "4", "--shutter", "0"}, "--shutter"},
        {{"--out", "show.mp4", "--subframes", "4", "--shutter", "1.5"}, "--shutter"},
        {{"--out", "show.mp4", "--shutter", "0.5"}, "--shutter needs --subframes"},
        {{"--sheet", "s.png", "--subframes", "4"}, "are for a frame"},
        {{"--frames", "dir", "--strict"}, "--strict is for"},
        {{"--report", "v.mp4", "--out", "w.mp4"}, "one of"},
        {{"--report", "v.mp4", "--size", "320x180"}, "--report takes only --strict"},
        {{"--report", ""}, "not named"},
    };
    for (const auto& [arguments, reason] : cases) {
        EXPECT_FALSE(parse(arguments, options, error)) << testing::PrintToString(arguments);
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST(ContactSheet, ThreeMomentsInsideEachScene)
{
    const double sceneStarts[] = {0.0, 25.0, 35.0, 65.0, 80.0, 116.0};
    const std::vector<double>& times = contactSheetTimes();
    ASSERT_EQ(times.size(), 15u);
    for (size_t i = 0; i < times.size(); ++i) {
        EXPECT_GT(times[i], sceneStarts[i / 3]) << i;
        EXPECT_LT(times[i], sceneStarts[i / 3 + 1]) << i;
    }
    EXPECT_EQ(timeLabel(25.5), "t = 25.50 s");

    const std::vector<std::vector<uint8_t>> tiles(4, std::vector<uint8_t>(32 * 18 * 4, 200));
    const SheetImage sheet = layOutContactSheet(tiles, {"t = 1.00 s"}, 32, 18, 3);
    EXPECT_EQ(sheet.width, 3 * 32 + 4 * 6u);
    EXPECT_EQ(sheet.height, 2 * 18 + 3 * 6u);
    EXPECT_EQ(sheet.rgba.size(), size_t(sheet.width) * sheet.height * 4);
}
