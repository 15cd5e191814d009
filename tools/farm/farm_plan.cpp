// farm_plan: the chunks of whole frames that a farm renders, one line each:
//
//   farm_plan --chunks N --out FILE [--size WxH] [--fps F] [--from T0] [--to T1] [--crf N]
//
// prints "CHUNK FIRST COUNT FROM TO": the chunk's number from 0, its first frame's index, its
// frame count, and the --from and --to that make capture draw exactly those frames. FROM is
// the first frame's own time and TO the next chunk's, written to the last bit, so that capture's
// "first frame at or after --from, last before --to" lands on the chunk's frames and no frame's
// time can fall between two chunks at any rate (60000/1001 included). The last chunk keeps the
// video's own --to, so it ends where a single capture ends: before --to or on the frame on which
// the show closes itself. Each line is checked against capture's own mapping before it is printed.
#include "farm_options.h"
#include "frame_range.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int refuse(const std::string& message)
{
    std::fprintf(stderr, "farm_plan: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || std::string(argv[1]) != "--chunks")
        return refuse("usage: farm_plan --chunks N --out FILE [capture's video options]");
    char* end = nullptr;
    const unsigned long long chunks = std::strtoull(argv[2], &end, 10);
    if (*end != '\0' || chunks == 0 || chunks > 10000)
        return refuse("--chunks takes a whole number from 1 to 10000, not \"" + std::string(argv[2]) + "\"");
    CaptureOptions options;
    std::string error;
    if (!parseVideoOptions(argc - 3, argv + 3, options, error))
        return refuse(error);

    const FrameRange video = videoFrameRange(options.rate, options.from, options.to);
    if (video.count < chunks)
        return refuse(std::to_string(chunks) + " chunks for " + std::to_string(video.count) +
                      " frames: give at most one chunk a frame");
    for (uint64_t chunk = 0; chunk < chunks; ++chunk) {
        // Even shares, the longer ones last: chunk k holds frames [k x count / N, (k+1) x count / N).
        const uint64_t first = video.first + chunk * video.count / chunks;
        const uint64_t next = video.first + (chunk + 1) * video.count / chunks;
        const double from = options.rate.frameTime(first);
        const double to = chunk + 1 == chunks ? options.to : options.rate.frameTime(next);
        char fromText[32], toText[32];
        std::snprintf(fromText, sizeof fromText, "%.17g", from);
        std::snprintf(toText, sizeof toText, "%.17g", to);
        const FrameRange drawn =
            videoFrameRange(options.rate, std::strtod(fromText, nullptr), std::strtod(toText, nullptr));
        if (drawn.first != first || drawn.count != next - first)
            return refuse("chunk " + std::to_string(chunk) + " would not hold frames " + std::to_string(first) +
                          " to " + std::to_string(next - 1) + " exactly");
        std::printf("%llu %llu %llu %s %s\n", static_cast<unsigned long long>(chunk),
                    static_cast<unsigned long long>(first), static_cast<unsigned long long>(next - first), fromText,
                    toText);
    }
    return 0;
}
