// soundtrack <file.ogg> [--wav <file.wav>]
//
// Renders the show's music from its score and encodes it to Ogg Vorbis:
//   1. build the score (notes and automation, fitted to the picture's cuts at 120 BPM),
//   2. play every note through its instrument into the mix buses, add chorus, echo and reverb,
//   3. master: remove DC, bring the loudness to -14 LUFS, limit the true peak,
//   4. encode at Vorbis quality 6 with a fixed serial number (same source, same bytes),
//   5. optionally write the same programme as 16-bit WAV for listening.

#include "mastering.h"
#include "score.h"
#include "sequencer.h"
#include "vorbis_writer.h"
#include "wav_writer.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int usage()
{
    std::fprintf(stderr, "usage: soundtrack <file.ogg> [--wav <file.wav>]\n");
    return 2;
}

long fileSize(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return -1;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string oggPath, wavPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wav") {
            if (i + 1 >= argc || !wavPath.empty()) {
                return usage();
            }
            wavPath = argv[++i];
            // An unknown option and a second file are refused alike, each for its own reason.
            // NOLINTNEXTLINE(bugprone-branch-clone)
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else if (oggPath.empty()) {
            oggPath = arg;
        } else {
            return usage();
        }
    }
    if (oggPath.empty()) {
        return usage();
    }

    const auto start = Clock::now();
    const soundtrack::Score score = soundtrack::buildScore();
    soundtrack::StereoBuffer programme = soundtrack::renderMix(score);
    const double renderSeconds = secondsSince(start);

    const soundtrack::MasteringReport report = soundtrack::masterMix(programme, soundtrack::MasteringTarget{});
    const double masterSeconds = secondsSince(start) - renderSeconds;

    std::string error;
    if (!soundtrack::writeOggVorbis(oggPath, programme, soundtrack::VorbisSettings{}, error)) {
        std::remove(oggPath.c_str());
        std::fprintf(stderr, "soundtrack: %s\n", error.c_str());
        return 1;
    }
    const double encodeSeconds = secondsSince(start) - renderSeconds - masterSeconds;
    if (!wavPath.empty() && !soundtrack::writeWav(wavPath, programme, error)) {
        std::fprintf(stderr, "soundtrack: %s\n", error.c_str());
        return 1;
    }

    std::printf("soundtrack: %zu notes, %.1f s; render %.2f s, master %.2f s, encode %.2f s\n", score.notes.size(),
                score.lengthSeconds, renderSeconds, masterSeconds, encodeSeconds);
    std::printf("soundtrack: %.2f LUFS, %.2f dBTP before encoding (make-up %+.2f dB, limiter up to %.2f dB); "
                "%s is %ld bytes\n",
                report.loudnessLufs, report.truePeakDbtp, report.gainDecibels, report.largestReductionDb,
                oggPath.c_str(), fileSize(oggPath));
    return 0;
}
