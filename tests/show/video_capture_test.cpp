// The arithmetic of a video without rendering one: which frames it holds, how much sound goes
// with them, how ffmpeg is asked to encode them, the name of an unfinished file and the
// progress line.
#include "ffmpeg_encoder.h"
#include "frame_range.h"
#include "moving_capture.h"
#include "progress_line.h"
#include "soundtrack_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(VideoFrames, EveryFrameUpToTheOneOnWhichTheShowClosesItself)
{
    // 116 s is frame 6960 at 60 fps: the show draws it and closes, so the video holds it.
    const FrameRange whole = videoFrameRange(FrameRate{60, 1}, 0.0, 140.0);
    EXPECT_EQ(whole.first, 0u);
    EXPECT_EQ(whole.count, 6961u);
    // At 60000/1001 the first frame at or after 116 s is 6954 (116.0160 s).
    const FrameRange ntsc = videoFrameRange(FrameRate{60000, 1001}, 0.0, 140.0);
    EXPECT_EQ(ntsc.count, 6955u);
    EXPECT_GE(FrameRate({60000, 1001}).frameTime(6954), 116.0);
    EXPECT_LT(FrameRate({60000, 1001}).frameTime(6953), 116.0);

    // A part: from the first frame at or after `from` to the last before `to`.
    const FrameRange part = videoFrameRange(FrameRate{60, 1}, 30.0, 31.0);
    EXPECT_EQ(part.first, 1800u);
    EXPECT_EQ(part.count, 60u);
    const FrameRange odd = videoFrameRange(FrameRate{60000, 1001}, 30.0, 31.0);
    EXPECT_EQ(odd.first, 1799u);
    EXPECT_EQ(odd.count, 60u);
    // Past the close there is nothing left to show.
    EXPECT_EQ(videoFrameRange(FrameRate{60, 1}, 120.0, 130.0).count, 0u);
    EXPECT_EQ(videoFrameRange(FrameRate{60, 1}, 115.98, 140.0).count, 2u);
}

TEST(VideoSound, AsLongAsTheFramesToTheSample)
{
    EXPECT_EQ(samplesForFrames(60, FrameRate{60, 1}, 44100), 44100u);
    EXPECT_EQ(samplesForFrames(6961, FrameRate{60, 1}, 44100), 5116335u);
    EXPECT_EQ(samplesForFrames(60, FrameRate{60000, 1001}, 44100), 44144u);  // 44144.1
    EXPECT_EQ(samplesForFrames(1, FrameRate{30000, 1001}, 48000), 1602u);    // 1601.6

    // Cut where the frames end, silence where the soundtrack has ended.
    DecodedSound sound;
    sound.sampleRate = 4;
    sound.channels = 2;
    sound.samples = {1, -1, 2, -2, 3, -3};
    EXPECT_EQ(soundtrackStretch(sound, 1, 1), (std::vector<float>{2, -2}));
    EXPECT_EQ(soundtrackStretch(sound, 2, 3), (std::vector<float>{3, -3, 0, 0, 0, 0}));
    EXPECT_EQ(soundtrackStretch(sound, 7, 1), (std::vector<float>{0, 0}));
}

TEST(VideoEncoding, TheContainerPicksTheCodecs)
{
    EncoderSettings settings;
    settings.outputPath = "/tmp/show.partial.mp4";
    settings.width = 1920;
    settings.height = 1080;
    settings.rate = FrameRate{60000, 1001};
    settings.sampleRate = 44100;
    settings.channels = 2;
    const std::vector<std::string> mp4 = ffmpegArguments(settings);
    auto after = [](const std::vector<std::string>& arguments, const std::string& name) {
        const auto at = std::find(arguments.begin(), arguments.end(), name);
        return at == arguments.end() || at + 1 == arguments.end() ? std::string() : *(at + 1);
    };
    EXPECT_EQ(after(mp4, "-framerate"), "60000/1001");
    EXPECT_EQ(after(mp4, "-video_size"), "1920x1080");
    EXPECT_EQ(after(mp4, "-c:v"), "libx264");
    EXPECT_EQ(after(mp4, "-c:a"), "aac");
    EXPECT_EQ(after(mp4, "-pix_fmt"), "rgb24");  // the input's, first
    EXPECT_EQ(mp4.back(), "/tmp/show.partial.mp4");
    EXPECT_EQ(std::count(mp4.begin(), mp4.end(), "-crf"), 0);

    settings.outputPath = "part.mkv";
    settings.crf = 0;
    const std::vector<std::string> mkv = ffmpegArguments(settings);
    EXPECT_EQ(after(mkv, "-c:a"), "flac");
    EXPECT_EQ(after(mkv, "-crf"), "0");

    settings.sampleRate = 0;
    const std::vector<std::string> silent = ffmpegArguments(settings);
    EXPECT_EQ(std::count(silent.begin(), silent.end(), "pipe:3"), 0);
}

TEST(VideoFiles, UnfinishedNamesAndProgress)
{
    EXPECT_EQ(partialPathFor("/videos/show.mp4"), "/videos/show.partial.mp4");
    EXPECT_EQ(partialPathFor("show"), "show.partial");
    EXPECT_EQ(partialPathFor("/a.b/show"), "/a.b/show.partial");

    EXPECT_EQ(ProgressLine::formatLine(0, 6961, 0.0), "frame 0 of 6961");
    EXPECT_EQ(ProgressLine::formatLine(100, 6961, 10.0), "frame 100 of 6961, 10.0 frames/s, 11:26 left");
    EXPECT_EQ(ProgressLine::formatLine(6961, 6961, 696.1), "frame 6961 of 6961, 10.0 frames/s");
    EXPECT_EQ(ProgressLine::formatLogLine(349, 6961, 34.9),
              "capture: 5%, frame 349 of 6961, 10.0 frames/s, 11:01 left");

    // In a log, the frame counts at which lines are due, walked as a capture does: one at each
    // further 5 % of the frames (never before that share is done), the last at the last frame.
    auto loggedAt = [](uint64_t total) {
        std::vector<uint64_t> lines;
        uint64_t due = ProgressLine::nextLoggedFrame(0, total);
        for (uint64_t done = 1; done <= total; ++done)
            if (done >= due) {
                lines.push_back(done);
                due = ProgressLine::nextLoggedFrame(done, total);
                if (done == total)
                    break;
            }
        return lines;
    };
    const std::vector<uint64_t> whole = loggedAt(3481);
    ASSERT_EQ(whole.size(), 20u);
    for (size_t i = 0; i < whole.size(); ++i) {
        EXPECT_GE(whole[i] * 20, (i + 1) * 3481) << "line " << i << " came before its 5 %";
        EXPECT_LT((whole[i] - 1) * 20, (i + 1) * 3481) << "line " << i << " came a frame late";
    }
    EXPECT_EQ(whole.back(), 3481u);
    EXPECT_EQ(loggedAt(233).size(), 20u);
    EXPECT_EQ(loggedAt(7), (std::vector<uint64_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(loggedAt(1), (std::vector<uint64_t>{1}));
    EXPECT_EQ(ProgressLine::nextLoggedFrame(0, 0), 1u);
}
