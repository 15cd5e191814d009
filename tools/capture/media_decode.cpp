#include "media_decode.h"

#include "child_output.h"

#include <cstring>

namespace {

// Cuts ffmpeg's output into whole records of `recordBytes` (a frame, a sample frame), however
// its pipe splits them.
class RecordSplitter {
public:
    explicit RecordSplitter(size_t recordBytes) : recordBytes_(recordBytes) {}

    template <typename Handle> void feed(const char* data, size_t bytes, Handle handle)
    {
        pending_.insert(pending_.end(), data, data + bytes);
        const size_t whole = pending_.size() / recordBytes_ * recordBytes_;
        if (whole == 0)
            return;
        handle(pending_.data(), whole / recordBytes_);
        pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(whole));
    }

private:
    size_t recordBytes_;
    std::vector<char> pending_;
};

bool finished(const ChildResult& result, std::string& error)
{
    if (!result.started) {
        error = "ffmpeg could not be run (install ffmpeg)";
        return false;
    }
    if (result.exitStatus != 0) {
        error = result.errorOutput.empty() ? "ffmpeg could not decode it" : result.errorOutput;
        return false;
    }
    return true;
}

}  // namespace

bool decodeVideoFrames(const std::string& path, uint32_t width, uint32_t height,
                       const std::function<void(const std::vector<uint8_t>& rgba)>& frame, uint64_t& frames,
                       std::string& error)
{
    frames = 0;
    const size_t frameBytes = size_t(width) * height * 4;
    RecordSplitter splitter(frameBytes);
    std::vector<uint8_t> rgba(frameBytes);
    const std::string size = std::to_string(width) + ":" + std::to_string(height);
    const ChildResult result =
        runChild("ffmpeg",
                 {"-v", "error", "-xerror", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough", "-vf",
                  "scale=" + size + ":flags=area", "-f", "rawvideo", "-pix_fmt", "rgba", "-"},
                 [&](const char* data, size_t bytes) {
                     splitter.feed(data, bytes, [&](const char* records, size_t count) {
                         for (size_t i = 0; i < count; ++i) {
                             std::memcpy(rgba.data(), records + i * frameBytes, frameBytes);
                             frame(rgba);
                             ++frames;
                         }
                     });
                     return true;
                 });
    return finished(result, error);
}

bool decodeAudio(const std::string& path, uint32_t channels, uint32_t sampleRate,
                 const std::function<void(const float* samples, size_t frames)>& block, uint64_t& sampleFrames,
                 std::string& error)
{
    sampleFrames = 0;
    const size_t recordBytes = sizeof(float) * channels;
    RecordSplitter splitter(recordBytes);
    std::vector<float> samples;
    const ChildResult result = runChild("ffmpeg",
                                        {"-v", "error", "-xerror", "-i", path, "-map", "0:a:0", "-f", "f32le", "-ac",
                                         std::to_string(channels), "-ar", std::to_string(sampleRate), "-"},
                                        [&](const char* data, size_t bytes) {
                                            splitter.feed(data, bytes, [&](const char* records, size_t count) {
                                                samples.resize(count * channels);
                                                std::memcpy(samples.data(), records, count * recordBytes);
                                                block(samples.data(), count);
                                                sampleFrames += count;
                                            });
                                            return true;
                                        });
    return finished(result, error);
}
