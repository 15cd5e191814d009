#pragma once
// A report for publishing a video: its frames and length, its loudness against the usual
// streaming targets, the flashes a viewer sees against the photosensitivity guidance (WCAG
// 2.3.1), and how it fits the common requirements of a demo party's stream. Each line says
// "meets" or what is off; a flash count over the limit or a stream requirement missed "fails".
#include "flash_count.h"
#include "loudness_meter.h"
#include "media_probe.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct MediaMeasurements {
    MediaFacts facts;
    uint64_t frames = 0;      // decoded
    double frameRate = 0;     // the rate the frames are counted at
    double videoSeconds = 0;  // frames over the rate
    double audioSeconds = 0;  // decoded sample frames over the sample rate
    LoudnessFigures loudness;
    FlashWorst generalFlashes, redFlashes;
    uint32_t analysisWidth = 0, analysisHeight = 0;  // the size the flashes were counted at
};

struct ReportLine {
    std::string section;
    std::string name;
    std::string value;
    std::string verdict;  // "meets", "fails: ...", or "" for a figure that is only told
    bool fails = false;
};

// Decodes and measures the file. False with a one-line reason where it is not a video with
// sound that ffmpeg reads to its end.
bool measureMedia(const std::string& path, MediaMeasurements& measured, std::string& error);

// The report's lines for what was measured.
std::vector<ReportLine> judgeMedia(const MediaMeasurements& measured);

void printReport(const std::string& path, const std::vector<ReportLine>& lines, std::ostream& out);

// The whole report for `path` on `out`; a file that cannot be measured gets one line on `err`.
// The exit status: 1 for a file that cannot be measured, or under `strict` for any line that
// fails; else 0.
int runPublishReport(const std::string& path, bool strict, std::ostream& out, std::ostream& err);
