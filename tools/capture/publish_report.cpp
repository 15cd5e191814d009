#include "publish_report.h"

#include "media_decode.h"
#include "stream_requirements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Flashes are counted on the frames scaled to at most this width: the guidance's field is drawn
// on a screen 1024 pixels wide, and a pattern finer than the analysis's pixels would average
// away (at 384 pixels the tunnel's flickering ribs counted half as many flashes).
constexpr uint32_t kAnalysisWidth = 1024;
constexpr int kMostFlashesASecond = 3;
constexpr double kTargetLufs = -14.0;
constexpr double kLufsTolerance = 1.0;
constexpr double kMostTruePeak = -1.0;

std::string format(const char* pattern, double a, double b = 0, double c = 0)
{
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

bool measureVideo(const std::string& path, MediaMeasurements& measured, std::string& error)
{
    const VideoStreamFacts& video = measured.facts.video;
    measured.frameRate = video.averageFrameRate > 0 ? video.averageFrameRate : video.frameRate;
    if (video.width == 0 || video.height == 0 || measured.frameRate <= 0) {
        error = "its video stream has no size or rate";
        return false;
    }
    measured.analysisWidth = std::min(video.width, kAnalysisWidth) & ~1u;
    measured.analysisHeight =
        std::max(2u, uint32_t(std::lround(double(video.height) * measured.analysisWidth / video.width)) & ~1u);
    FlashCounter general(measured.analysisWidth, measured.analysisHeight, measured.frameRate);
    FlashCounter red(measured.analysisWidth, measured.analysisHeight, measured.frameRate, FlashKind::red);
    const bool decoded = decodeVideoFrames(
        path, measured.analysisWidth, measured.analysisHeight,
        [&](const std::vector<uint8_t>& rgba) {
            general.addFrame(rgba);
            red.addFrame(rgba);
        },
        measured.frames, error);
    measured.generalFlashes = general.worst();
    measured.redFlashes = red.worst();
    measured.videoSeconds = double(measured.frames) / measured.frameRate;
    if (decoded && measured.frames == 0) {
        error = "its video stream holds no frames";
        return false;
    }
    return decoded;
}

bool measureAudio(const std::string& path, MediaMeasurements& measured, std::string& error)
{
    const AudioStreamFacts& audio = measured.facts.audio;
    LoudnessMeter meter(audio.channels, audio.sampleRate);
    if (!meter.valid()) {
        error = "its audio stream has no channels or rate";
        return false;
    }
    uint64_t sampleFrames = 0;
    if (!decodeAudio(
            path, audio.channels, audio.sampleRate,
            [&](const float* samples, size_t frames) { meter.add(samples, frames); }, sampleFrames, error))
        return false;
    measured.loudness = meter.figures();
    measured.audioSeconds = double(sampleFrames) / audio.sampleRate;
    return true;
}

std::string flashValue(const FlashWorst& worst)
{
    if (worst.flashes == 0)
        return "none";
    return format("at most %.0f in a second (the second to %.2f s, ", worst.flashes, worst.endSeconds) +
           format("in the field from %.0f/6 across and %.0f/6 down)", worst.fieldColumn, worst.fieldRow);
}

ReportLine flashLine(const char* name, const FlashWorst& worst)
{
    const bool fails = worst.flashes > kMostFlashesASecond;
    return {"flashes", name, flashValue(worst),
            fails ? format("fails: more than %.0f in a second", kMostFlashesASecond) : "meets", fails};
}

void judgeLength(const MediaMeasurements& measured, std::vector<ReportLine>& lines)
{
    const VideoStreamFacts& video = measured.facts.video;
    const bool constant = std::fabs(video.frameRate - video.averageFrameRate) <= 1e-3 * video.frameRate;
    lines.push_back({"frames and length", "frames",
                     format("%.0f at %.3f fps", double(measured.frames), measured.frameRate) +
                         (constant ? " (constant)" : " (variable)"),
                     "", false});
    lines.push_back({"frames and length", "video", format("%.3f s", measured.videoSeconds), "", false});
    lines.push_back({"frames and length", "audio",
                     format("%.3f s (%+.3f s against the video)", measured.audioSeconds,
                            measured.audioSeconds - measured.videoSeconds),
                     "", false});
}

void judgeLoudness(const MediaMeasurements& measured, std::vector<ReportLine>& lines)
{
    const LoudnessFigures& figures = measured.loudness;
    const double off = figures.integratedLufs - kTargetLufs;
    const std::string integratedVerdict = !std::isfinite(off)                ? "is silent"
                                          : std::fabs(off) <= kLufsTolerance ? format("meets %.0f LUFS", kTargetLufs)
                                          : off > 0 ? format("is %.1f dB over %.0f LUFS", off, kTargetLufs)
                                                    : format("is %.1f dB under %.0f LUFS", -off, kTargetLufs);
    lines.push_back({"loudness", "integrated", format("%.1f LUFS", figures.integratedLufs), integratedVerdict, false});
    lines.push_back({"loudness", "range", format("%.1f LU", figures.rangeLu), "", false});
    const double over = figures.truePeakDbtp - kMostTruePeak;
    lines.push_back(
        {"loudness", "true peak", format("%.1f dBTP", figures.truePeakDbtp),
         over > 0 ? format("is %.1f dB over %.0f dBTP", over, kMostTruePeak) : format("meets %.0f dBTP", kMostTruePeak),
         false});
}

}  // namespace

bool measureMedia(const std::string& path, MediaMeasurements& measured, std::string& error)
{
    measured = MediaMeasurements{};
    if (!probeMedia(path, measured.facts, error))
        return false;
    if (!measured.facts.video.present) {
        error = "it holds no video stream";
        return false;
    }
    if (!measured.facts.audio.present) {
        error = "it holds no audio stream";
        return false;
    }
    return measureVideo(path, measured, error) && measureAudio(path, measured, error);
}

std::vector<ReportLine> judgeMedia(const MediaMeasurements& measured)
{
    std::vector<ReportLine> lines;
    judgeLength(measured, lines);
    judgeLoudness(measured, lines);
    lines.push_back(flashLine("general", measured.generalFlashes));
    lines.push_back(flashLine("red", measured.redFlashes));
    for (const RequirementCheck& check : checkStreamRequirements(measured.facts))
        lines.push_back({"fit for a party's stream", check.name, check.value,
                         check.offBy.empty() ? "meets" : "fails: " + check.offBy, !check.offBy.empty()});
    return lines;
}

void printReport(const std::string& path, const std::vector<ReportLine>& lines, std::ostream& out)
{
    out << "report: " << path << "\n";
    std::string section;
    int failing = 0;
    for (const ReportLine& line : lines) {
        if (line.section != section) {
            section = line.section;
            out << "  " << section << "\n";
        }
        char name[24];
        std::snprintf(name, sizeof name, "%-16s", line.name.c_str());
        out << "    " << name << line.value << (line.verdict.empty() ? "" : ": " + line.verdict) << "\n";
        failing += line.fails;
    }
    if (failing == 0)
        out << "  fit to publish\n";
    else
        out << "  " << failing << (failing == 1 ? " line fails" : " lines fail") << "\n";
}

int runPublishReport(const std::string& path, bool strict, std::ostream& out, std::ostream& err)
{
    MediaMeasurements measured;
    std::string error;
    if (!measureMedia(path, measured, error)) {
        err << "capture: " << path << " is not a video to report on: " << error << "\n";
        return 1;
    }
    const std::vector<ReportLine> lines = judgeMedia(measured);
    printReport(path, lines, out);
    const bool anyFails = std::any_of(lines.begin(), lines.end(), [](const ReportLine& line) { return line.fails; });
    return strict && anyFails ? 1 : 0;
}
