#include "media_probe.h"

#include "child_output.h"

#include <cstdlib>
#include <sstream>

namespace {

double number(const std::map<std::string, std::string>& flat, const std::string& key)
{
    const auto found = flat.find(key);
    if (found == flat.end())
        return 0;
    char* end = nullptr;
    const double value = std::strtod(found->second.c_str(), &end);
    return end == found->second.c_str() ? 0 : value;
}

// "60000/1001" or "30/1" as a number; 0 where the rate is unknown ("0/0").
double rate(const std::map<std::string, std::string>& flat, const std::string& key)
{
    const auto found = flat.find(key);
    if (found == flat.end())
        return 0;
    const std::string& text = found->second;
    const size_t slash = text.find('/');
    const double numerator = std::strtod(text.c_str(), nullptr);
    const double denominator = slash == std::string::npos ? 1.0 : std::strtod(text.c_str() + slash + 1, nullptr);
    return denominator > 0 ? numerator / denominator : 0;
}

std::string text(const std::map<std::string, std::string>& flat, const std::string& key)
{
    const auto found = flat.find(key);
    return found == flat.end() ? "" : found->second;
}

}  // namespace

std::map<std::string, std::string> parseFlatOutput(const std::string& output)
{
    std::map<std::string, std::string> flat;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        flat[line.substr(0, equals)] = value;
    }
    return flat;
}

MediaFacts mediaFactsFrom(const std::map<std::string, std::string>& flat)
{
    MediaFacts facts;
    facts.container = text(flat, "format.format_name");
    facts.duration = number(flat, "format.duration");
    facts.bitRate = number(flat, "format.bit_rate");
    for (int index = 0; flat.count("streams.stream." + std::to_string(index) + ".codec_type"); ++index) {
        const std::string at = "streams.stream." + std::to_string(index) + ".";
        const std::string type = text(flat, at + "codec_type");
        if (type == "video" && !facts.video.present) {
            VideoStreamFacts& video = facts.video;
            video.present = true;
            video.codec = text(flat, at + "codec_name");
            video.profile = text(flat, at + "profile");
            video.pixelFormat = text(flat, at + "pix_fmt");
            video.level = int(number(flat, at + "level"));
            video.width = uint32_t(number(flat, at + "width"));
            video.height = uint32_t(number(flat, at + "height"));
            video.frameRate = rate(flat, at + "r_frame_rate");
            video.averageFrameRate = rate(flat, at + "avg_frame_rate");
            video.bitRate = number(flat, at + "bit_rate");
            video.duration = number(flat, at + "duration");
        } else if (type == "audio" && !facts.audio.present) {
            AudioStreamFacts& audio = facts.audio;
            audio.present = true;
            audio.codec = text(flat, at + "codec_name");
            audio.channels = uint32_t(number(flat, at + "channels"));
            audio.sampleRate = uint32_t(number(flat, at + "sample_rate"));
            audio.bitRate = number(flat, at + "bit_rate");
            audio.duration = number(flat, at + "duration");
        }
    }
    // Matroska gives no bit rate per stream: the video's is the file's less the sound's.
    if (facts.video.present && facts.video.bitRate <= 0 && facts.bitRate > 0)
        facts.video.bitRate = facts.bitRate - facts.audio.bitRate;
    return facts;
}

bool probeMedia(const std::string& path, MediaFacts& facts, std::string& error)
{
    constexpr const char* kEntries = "format=format_name,duration,bit_rate:stream=codec_type,codec_name,profile,"
                                     "pix_fmt,level,width,height,r_frame_rate,avg_frame_rate,bit_rate,duration,"
                                     "channels,sample_rate";
    std::string output;
    const ChildResult result = runChildForText(
        "ffprobe", {"-v", "error", "-show_entries", std::string(kEntries), "-of", "flat", "--", path}, output);
    if (!result.started) {
        error = "ffprobe could not be run (install ffmpeg)";
        return false;
    }
    if (result.exitStatus != 0) {
        error = result.errorOutput.empty() ? "ffprobe cannot read it" : result.errorOutput;
        return false;
    }
    facts = mediaFactsFrom(parseFlatOutput(output));
    if (!facts.video.present && !facts.audio.present) {
        error = "it holds neither video nor audio";
        return false;
    }
    return true;
}
