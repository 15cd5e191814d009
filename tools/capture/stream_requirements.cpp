#include "stream_requirements.h"

#include <cmath>
#include <cstdio>

namespace {

struct LevelLimit {
    int level;
    double macroblocksPerSecond;
    double frameMacroblocks;
};

// H.264's levels (Annex A): the most macroblocks a second and in one frame.
constexpr LevelLimit kLevels[] = {
    {10, 1485, 99},       {11, 3000, 396},       {12, 6000, 396},       {13, 11880, 396},      {20, 11880, 396},
    {21, 19800, 792},     {22, 20250, 1620},     {30, 40500, 1620},     {31, 108000, 3600},    {32, 216000, 5120},
    {40, 245760, 8192},   {41, 245760, 8192},    {42, 522240, 8704},    {50, 589824, 22080},   {51, 983040, 36864},
    {52, 2073600, 36864}, {60, 4177920, 139264}, {61, 8355840, 139264}, {62, 16711680, 139264}};
// The highest level a stream's ingest commonly takes.
constexpr int kMostLevel = 52;

std::string levelText(int level)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d", level / 10, level % 10);
    return text;
}

std::string megabits(double bitsPerSecond)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f Mbit/s", bitsPerSecond / 1e6);
    return text;
}

RequirementCheck codecCheck(const VideoStreamFacts& video)
{
    const std::string value = video.codec + (video.profile.empty() ? "" : " " + video.profile);
    const bool h264 = video.codec == "h264";
    const bool profileMet = video.profile == "High" || video.profile == "Main";
    return {"codec", value, !h264 ? "not H.264" : !profileMet ? "not the High or Main profile" : ""};
}

RequirementCheck levelCheck(const VideoStreamFacts& video)
{
    const int least = leastLevelFor(video.width, video.height, video.frameRate);
    const std::string value = video.level > 0 ? levelText(video.level) : "none given";
    std::string off;
    if (video.codec == "h264" && video.level < least)
        off = "below the " + levelText(least) + " the size and rate need";
    else if (video.codec == "h264" && video.level > kMostLevel)
        off = "above " + levelText(kMostLevel);
    return {"level", value + " (" + levelText(least) + " needed)", off};
}

RequirementCheck bitRateCheck(const VideoStreamFacts& video)
{
    const double least = leastBitRateFor(video.height, video.frameRate);
    if (video.bitRate <= 0)
        return {"video bit rate", "not given", "no bit rate to check"};
    return {"video bit rate", megabits(video.bitRate) + " (" + megabits(least) + " needed)",
            video.bitRate < least ? "under " + megabits(least) : ""};
}

RequirementCheck audioCheck(const AudioStreamFacts& audio)
{
    if (!audio.present)
        return {"audio", "none", "no sound"};
    char value[96];
    std::snprintf(value, sizeof value, "%s, %u channels, %.1f kHz, %.0f kbit/s", audio.codec.c_str(), audio.channels,
                  audio.sampleRate / 1000.0, audio.bitRate / 1000.0);
    std::string off;
    if (audio.codec != "aac")
        off = "not AAC";
    else if (audio.channels != 2)
        off = "not stereo";
    else if (audio.sampleRate != 44100 && audio.sampleRate != 48000)
        off = "not at 44.1 or 48 kHz";
    else if (audio.bitRate > 0 && audio.bitRate < 128000)
        off = "under 128 kbit/s";
    return {"audio", value, off};
}

}  // namespace

int leastLevelFor(uint32_t width, uint32_t height, double framesPerSecond)
{
    const double frame = std::ceil(width / 16.0) * std::ceil(height / 16.0);
    for (const LevelLimit& limit : kLevels)
        if (frame <= limit.frameMacroblocks && frame * framesPerSecond <= limit.macroblocksPerSecond)
            return limit.level;
    return 99;
}

double leastBitRateFor(uint32_t height, double framesPerSecond)
{
    const bool fast = framesPerSecond > 31.0;
    if (height >= 2160)
        return fast ? 30e6 : 20e6;
    if (height >= 1440)
        return fast ? 13e6 : 9e6;
    if (height >= 1080)
        return 6e6;
    if (height >= 720)
        return fast ? 4.5e6 : 3e6;
    return 1.5e6;
}

std::vector<RequirementCheck> checkStreamRequirements(const MediaFacts& facts)
{
    const VideoStreamFacts& video = facts.video;
    const bool chroma420 = video.pixelFormat == "yuv420p" || video.pixelFormat == "yuvj420p";
    const bool constant = std::fabs(video.frameRate - video.averageFrameRate) <= 1e-3 * video.frameRate;
    char rate[48];
    std::snprintf(rate, sizeof rate, "%.3f fps", video.frameRate);
    return {codecCheck(video),
            {"chroma", video.pixelFormat, chroma420 ? "" : "not 4:2:0"},
            {"frame rate", std::string(rate) + (constant ? ", constant" : ", variable"), constant ? "" : "variable"},
            levelCheck(video),
            bitRateCheck(video),
            audioCheck(facts.audio)};
}
