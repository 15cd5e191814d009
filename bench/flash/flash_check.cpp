// Flashes in a passage of the show, as a video of it shows them: the passage drawn in sequence
// at each frame rate asked for, every frame fed to the flash counter (tools/capture/
// flash_count.h). Prints, per rate, the most flashes that more than a quarter of any 10-degree
// field of view makes in one second, and where; the guidance allows three.
//
//   flash_check [--size WxH] [--from T0] [--to T1] [--fps F]...
//
// Defaults: 480x270, the fireworks (65 to 80 s), at 30 and at 60 frames a second. Run in the
// runnable folder (it reads the show's data).
#include "capture_options.h"
#include "flash_count.h"
#include "frame_range.h"
#include "headless_show.h"

#include "show/show.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct CheckOptions {
    uint32_t width = 480;
    uint32_t height = 270;
    double from = 65.0;
    double to = 80.0;
    std::vector<FrameRate> rates;
};

const char* const usage = "usage: flash_check [--size WxH] [--from T0] [--to T1] [--fps F]...\n"
                          "  counts the flashes of the show from T0 to T1 (default 65 to 80 s) at WxH (default\n"
                          "  480x270), drawn at each rate F given (default 30 and 60 frames a second)\n";

bool parseSeconds(const char* text, double& seconds)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (*text == '\0' || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0.0 || value > 140.0)
        return false;
    seconds = value;
    return true;
}

bool parseCheckOptions(int argc, char** argv, CheckOptions& options)
{
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc)
            return false;
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        bool good = false;
        if (flag == "--size") {
            good = parseFrameSize(value, options.width, options.height);
        } else if (flag == "--from") {
            good = parseSeconds(value, options.from);
        } else if (flag == "--to") {
            good = parseSeconds(value, options.to);
        } else if (flag == "--fps") {
            FrameRate rate;
            good = parseFrameRate(value, rate);
            options.rates.push_back(rate);
        }
        if (!good)
            return false;
    }
    if (options.rates.empty())
        options.rates = {FrameRate{30, 1}, FrameRate{60, 1}};
    return options.from + 1.0 <= options.to;
}

}  // namespace

int main(int argc, char** argv)
{
    CheckOptions options;
    if (!parseCheckOptions(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    int exitStatus = 0;
    Show* show = startHeadlessShow(options.width, options.height, exitStatus);
    if (!show)
        return exitStatus != 0 ? exitStatus : 1;

    std::printf("flash_check: %ux%u, %.3f to %.3f s; a field is a third of the frame each way\n", options.width,
                options.height, options.from, options.to);
    for (const FrameRate& rate : options.rates) {
        const double framesPerSecond = double(rate.numerator) / double(rate.denominator);
        FlashCounter counter(options.width, options.height, framesPerSecond);
        const FrameRange range = videoFrameRange(rate, options.from, options.to);
        show->rate = rate;
        bool last = false;
        for (uint64_t i = range.first; i < range.first + range.count && !last; ++i)
            counter.addFrame(captureShowFrame(*show, rate.frameTime(i), &last));
        const FlashWorst& worst = counter.worst();
        std::printf("  %6.2f fps: at most %d flashes a second over a quarter of a field", framesPerSecond,
                    worst.flashes);
        if (worst.flashes > 0)
            std::printf(" (the second to %.2f s, the field from %d/6 across, %d/6 down)",
                        options.from + worst.endSeconds, worst.fieldColumn, worst.fieldRow);
        std::printf("%s\n", worst.flashes > 3 ? ": over the limit of three" : "");
    }
    return 0;
}
