// The publishing report on videos made by ffmpeg's own sources, whose answers are known: a
// full-screen strobe, a slow fade, a red flash, a small flashing square, a tone; and on files
// that are not videos with sound. Each video is tiny and a few seconds long.
#include "publish_report.h"
#include "stream_requirements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

const std::string folder = testing::TempDir() + "/publish-report-test";

// A video of 160x90 at 30 fps, 3 s, from the lavfi luma expression `luma` (0 to 255 at pixel
// X, Y of frame N), with a quiet stereo tone; H.264 and AAC in MP4 as a capture makes them.
std::string makeVideo(const std::string& name, const std::string& geq, const std::string& tone = "0.1")
{
    const std::string path = folder + "/" + name + ".mp4";
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i color=c=black:s=160x90:r=30:d=3 -f lavfi -i \"aevalsrc=" + tone +
        "*sin(2*PI*1000*t)|" + tone + "*sin(2*PI*1000*t):s=48000:d=3\" -vf \"format=gbrp," + geq +
        ",format=yuv420p\" -c:v libx264 -profile:v high -crf 10 -c:a aac -b:a 160k -shortest " + path;
    return std::system(command.c_str()) == 0 ? path : "";
}

MediaMeasurements measured(const std::string& path)
{
    MediaMeasurements measurements;
    std::string error;
    EXPECT_TRUE(measureMedia(path, measurements, error)) << error;
    return measurements;
}

const ReportLine* lineNamed(const std::vector<ReportLine>& lines, const std::string& section, const std::string& name)
{
    for (const ReportLine& line : lines)
        if (line.section == section && line.name == name)
            return &line;
    return nullptr;
}

class PublishReport : public testing::Test {
protected:
    static void SetUpTestSuite() { std::system(("mkdir -p " + folder).c_str()); }
};

}  // namespace

TEST_F(PublishReport, CountsFullScreenAndRedFlashesButNotSlowOrSmallOnes)
{
    // Black and white, three frames each: five flashes a second over the whole frame.
    const MediaMeasurements strobe = measured(makeVideo(
        "strobe", "geq=r='if(lt(mod(N,6),3),255,0)':g='if(lt(mod(N,6),3),255,0)':b='if(lt(mod(N,6),3),255,0)'"));
    EXPECT_EQ(strobe.generalFlashes.flashes, 5);
    EXPECT_EQ(strobe.frames, 90u);
    const std::vector<ReportLine> strobeLines = judgeMedia(strobe);
    ASSERT_NE(lineNamed(strobeLines, "flashes", "general"), nullptr);
    EXPECT_TRUE(lineNamed(strobeLines, "flashes", "general")->fails);

    // Saturated red and black, four frames each: about four red flashes a second.
    const MediaMeasurements red = measured(makeVideo("red", "geq=r='if(lt(mod(N,8),4),255,0)':g=0:b=0"));
    EXPECT_GE(red.redFlashes.flashes, 3);
    EXPECT_LE(red.redFlashes.flashes, 4);
    // The same strobe in grey at the red's luminance is no red flash.
    EXPECT_EQ(strobe.redFlashes.flashes, 0);

    // Black to white over three seconds; and a square of 16 pixels a side strobing, under a
    // quarter of any field of a third of the frame each way.
    const MediaMeasurements fade = measured(makeVideo("fade", "geq=r='N*255/90':g='N*255/90':b='N*255/90'"));
    EXPECT_EQ(fade.generalFlashes.flashes, 0);
    const std::string square = "if(lt(X,16)*lt(Y,16)*lt(mod(N,6),3),255,0)";
    const MediaMeasurements small =
        measured(makeVideo("square", "geq=r='" + square + "':g='" + square + "':b='" + square + "'"));
    EXPECT_EQ(small.generalFlashes.flashes, 0);
}

TEST_F(PublishReport, LoudnessAgreesWithFfmpegsMeterAndTheStreamLinesAreJudged)
{
    const std::string path = makeVideo("tone", "geq=r=128:g=128:b=128", "0.3");
    const MediaMeasurements tone = measured(path);
    // ffmpeg's own EBU R128 meter on the same file.
    const std::string meter = folder + "/tone-meter.txt";
    ASSERT_EQ(std::system(("ffmpeg -nostats -i " + path + " -map 0:a -af ebur128 -f null - 2> " + meter).c_str()), 0);
    std::ifstream meterFile(meter);
    std::string text((std::istreambuf_iterator<char>(meterFile)), std::istreambuf_iterator<char>());
    const size_t summary = text.rfind("Integrated loudness:");
    ASSERT_NE(summary, std::string::npos);
    const double ffmpegLufs = std::atof(text.c_str() + text.find("I:", summary) + 2);
    EXPECT_NEAR(tone.loudness.integratedLufs, ffmpegLufs, 0.1);
    EXPECT_NEAR(tone.audioSeconds, 3.0, 0.05);

    const std::vector<ReportLine> lines = judgeMedia(tone);
    const ReportLine* codec = lineNamed(lines, "fit for a party's stream", "codec");
    ASSERT_NE(codec, nullptr);
    EXPECT_EQ(codec->verdict, "meets");
    // A tiny video is far under the table's least bit rate: the line fails.
    const ReportLine* bitRate = lineNamed(lines, "fit for a party's stream", "video bit rate");
    ASSERT_NE(bitRate, nullptr);
    EXPECT_TRUE(bitRate->fails);
    // The level the table asks for follows H.264's macroblock rates.
    EXPECT_EQ(leastLevelFor(160, 90, 30), 11);
    EXPECT_EQ(leastLevelFor(1920, 1080, 30), 40);
    EXPECT_EQ(leastLevelFor(1920, 1080, 60), 42);
    EXPECT_EQ(leastLevelFor(3840, 2160, 60), 52);
    std::ostringstream out, err;
    EXPECT_EQ(runPublishReport(path, false, out, err), 0);
    EXPECT_EQ(runPublishReport(path, true, out, err), 1);
    EXPECT_NE(out.str().find("loudness"), std::string::npos);
}

TEST_F(PublishReport, AFileThatIsNoVideoWithSoundGetsOneLineAndStatusOne)
{
    const std::string noise = folder + "/noise.mp4";
    std::mt19937 random(7);
    std::string randomBytes(20000, '\0');
    for (char& byte : randomBytes)
        byte = char(random() & 0xff);
    std::ofstream(noise, std::ios::binary) << randomBytes;
    const std::string whole = makeVideo("whole", "geq=r=100:g=100:b=100");
    const std::string cut = folder + "/cut.mp4";
    std::ifstream in(whole, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const std::string silent = folder + "/silent.mp4";
    ASSERT_EQ(std::system(("ffmpeg -v error -y -i " + whole + " -an -c copy " + silent).c_str()), 0);
    for (const std::string& path : {noise, cut, silent, folder + "/missing.mp4"}) {
        SCOPED_TRACE(path);
        std::ostringstream out, err;
        EXPECT_EQ(runPublishReport(path, false, out, err), 1);
        EXPECT_EQ(out.str(), "");
        const std::string message = err.str();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    }
}
