// farm_encode: the farm's delivery file, encoded once from the joined frames exactly as a single
// `capture --out` encodes its own:
//
//   ... | farm_encode --out FILE [--size WxH] [--fps F] [--from T0] [--to T1] [--crf N]
//
// reads the video's frames on standard input as raw RGB (width x height x 3 bytes each, top row
// first: what capture hands ffmpeg), and gives ffmpeg the same arguments and the same stretch of
// the soundtrack, cut or padded to the frame count, through capture's own encoder. Anything but
// exactly the video's frame count is refused, and then no file is left: the output is written
// under its partial name and renamed only when complete.
#include "farm_options.h"
#include "ffmpeg_encoder.h"
#include "frame_range.h"
#include "moving_capture.h"
#include "soundtrack_samples.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "farm_encode: %s\n", message.c_str());
    return 1;
}

// The soundtrack lies beside the program, in the runnable folder, as it does for capture.
std::string soundtrackPath(const char* argv0, const char* fileName)
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::canonical("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path(argv0).parent_path() : executable.parent_path();
    return (folder / fileName).string();
}

// Fills `frame` from standard input: true for a whole frame, false at the end or a short one.
bool readFrame(std::vector<uint8_t>& frame, size_t& got)
{
    got = std::fread(frame.data(), 1, frame.size(), stdin);
    return got == frame.size();
}

}  // namespace

int main(int argc, char** argv)
{
    CaptureOptions options;
    std::string error;
    if (!parseVideoOptions(argc - 1, argv + 1, options, error))
        return fail(error);
    const FrameRange range = videoFrameRange(options.rate, options.from, options.to);
    if (range.count == 0)
        return fail("no frame of the show lies in that range");

    DecodedSound sound;
    if (!decodeSoundtrack(soundtrackPath(argv[0], MovingCapture().soundtrackPath).c_str(), sound, error))
        return fail(error);
    EncoderSettings settings;
    settings.outputPath = partialPathFor(options.outputPath);
    settings.width = options.width;
    settings.height = options.height;
    settings.rate = options.rate;
    settings.crf = options.crf;
    settings.sampleRate = sound.sampleRate;
    settings.channels = sound.channels;
    std::vector<float> stretch =
        soundtrackStretch(sound, samplesForFrames(range.first, options.rate, settings.sampleRate),
                          samplesForFrames(range.count, options.rate, settings.sampleRate));
    sound.samples = {};

    FfmpegEncoder encoder;
    if (!encoder.start(settings, std::move(stretch), error))
        return fail(error);
    std::vector<uint8_t> frame(size_t(options.width) * options.height * 3);
    uint64_t frames = 0;
    size_t got = 0;
    while (frames <= range.count && readFrame(frame, got)) {
        if (frames < range.count && !encoder.writeFrame(frame)) {
            encoder.abort();
            std::remove(settings.outputPath.c_str());
            return fail("ffmpeg stopped taking frames (see its message above); nothing written");
        }
        ++frames;
    }
    if (frames != range.count || got != 0) {
        encoder.abort();
        std::remove(settings.outputPath.c_str());
        const std::string what = frames > range.count ? "more than " + std::to_string(range.count)
                                                      : std::to_string(frames) + (got ? " and a part" : "");
        return fail("the joined frames are " + what + " frames, the video " + std::to_string(range.count) +
                    "; nothing written");
    }
    if (!encoder.finish(error)) {
        std::remove(settings.outputPath.c_str());
        return fail(error + "; nothing written");
    }
    if (std::rename(settings.outputPath.c_str(), options.outputPath.c_str()) != 0) {
        std::remove(settings.outputPath.c_str());
        return fail("cannot name the video " + options.outputPath + ": " + std::strerror(errno));
    }
    std::printf("%s: %llu frames of %ux%u\n", options.outputPath.c_str(), static_cast<unsigned long long>(frames),
                options.width, options.height);
    return 0;
}
