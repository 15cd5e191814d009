#include "ffmpeg_encoder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string extensionOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Writes all of `bytes`, through interruptions and short writes. False when the reader is gone.
bool writeAll(int fd, const void* data, size_t bytes)
{
    const char* at = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t written = ::write(fd, at, bytes);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        at += written;
        bytes -= size_t(written);
    }
    return true;
}

// A pipe whose ends are numbered above 9 and closed on exec, so that the child's inputs can
// be placed on 0 and 3 without one end landing on the other.
bool highPipe(int ends[2])
{
    int raw[2];
    if (::pipe(raw) != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        ends[i] = ::fcntl(raw[i], F_DUPFD_CLOEXEC, 10);
        ::close(raw[i]);
    }
    if (ends[0] < 0 || ends[1] < 0) {
        if (ends[0] >= 0)
            ::close(ends[0]);
        if (ends[1] >= 0)
            ::close(ends[1]);
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> ffmpegArguments(const EncoderSettings& settings)
{
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    const std::string rate = std::to_string(settings.rate.numerator) + "/" + std::to_string(settings.rate.denominator);
    std::vector<std::string> arguments = {
        "-hide_banner", "-nostdin",    "-loglevel", "error",      "-y", "-f", "rawvideo", "-pix_fmt",
        "rgb24",        "-video_size", size,        "-framerate", rate, "-i", "pipe:0",
    };
    if (settings.sampleRate > 0)
        arguments.insert(arguments.end(), {"-f", "f32le", "-ar", std::to_string(settings.sampleRate), "-ac",
                                           std::to_string(settings.channels), "-i", "pipe:3"});
    arguments.insert(arguments.end(), {"-map", "0:v"});
    if (settings.sampleRate > 0)
        arguments.insert(arguments.end(), {"-map", "1:a"});

    // The frames are sRGB; video players assume BT.709, whose transfer is the same to the eye.
    // Chroma at half size, as every player expects, converted with the BT.709 matrix.
    const std::string extension = extensionOf(settings.outputPath);
    const bool webm = extension == "webm";
    arguments.insert(arguments.end(), {"-vf", "scale=out_color_matrix=bt709:out_range=tv:flags=bicubic", "-pix_fmt",
                                       "yuv420p", "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc",
                                       "bt709", "-color_range", "tv"});
    if (webm) {
        arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-b:v", "0", "-row-mt", "1"});
        if (settings.sampleRate > 0)
            arguments.insert(arguments.end(), {"-c:a", "libopus", "-b:a", "160k"});
    } else {
        arguments.insert(arguments.end(), {"-c:v", "libx264", "-preset", "medium"});
        if (settings.sampleRate > 0)
            arguments.insert(arguments.end(), {"-c:a", extension == "mkv" ? "flac" : "aac"});
        if (settings.sampleRate > 0 && extension != "mkv")
            arguments.insert(arguments.end(), {"-b:a", "192k"});
    }
    if (settings.crf >= 0)
        arguments.insert(arguments.end(), {"-crf", std::to_string(webm ? settings.crf : std::min(settings.crf, 51))});
    else if (webm)
        arguments.insert(arguments.end(), {"-crf", "31"});
    if (extension == "mp4" || extension == "mov" || extension == "m4v")
        arguments.insert(arguments.end(), {"-movflags", "+faststart"});
    arguments.push_back(settings.outputPath);
    return arguments;
}

std::string findProgram(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > begin ? folders.substr(begin, end - begin) : ".";
        std::string candidate = folder + "/" + program;
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return "";
}

FfmpegEncoder::~FfmpegEncoder()
{
    abort();
}

bool FfmpegEncoder::start(const EncoderSettings& settings, std::vector<float> sound, std::string& error)
{
    const std::string program = findProgram("ffmpeg");
    if (program.empty()) {
        error = "ffmpeg not found: install ffmpeg (sudo apt-get install ffmpeg)";
        return false;
    }
    // A reader that goes away must show as a failed write, not end this process.
    std::signal(SIGPIPE, SIG_IGN);

    int video[2] = {-1, -1}, audio[2] = {-1, -1};
    if (!highPipe(video) || (settings.sampleRate > 0 && !highPipe(audio))) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }

    const std::vector<std::string> arguments = ffmpegArguments(settings);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, video[0], 0);
    if (audio[0] >= 0)
        posix_spawn_file_actions_adddup2(&actions, audio[0], 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int spawned = posix_spawn(&child_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);

    ::close(video[0]);
    if (audio[0] >= 0)
        ::close(audio[0]);
    videoPipe_ = video[1];
    soundPipe_ = audio[1];
    if (spawned != 0) {
        child_ = -1;
        closeInputs();
        error = "cannot run " + program + ": " + std::strerror(spawned);
        return false;
    }
    if (soundPipe_ >= 0) {
        soundWriter_ = std::thread([this, samples = std::move(sound)]() {
            soundWritten_ = writeAll(soundPipe_, samples.data(), samples.size() * sizeof(float));
            ::close(soundPipe_);
        });
    } else {
        soundWritten_ = true;
    }
    return true;
}

bool FfmpegEncoder::writeFrame(const std::vector<uint8_t>& rgb)
{
    return videoPipe_ >= 0 && writeAll(videoPipe_, rgb.data(), rgb.size());
}

void FfmpegEncoder::closeInputs()
{
    if (videoPipe_ >= 0)
        ::close(videoPipe_);
    videoPipe_ = -1;
    if (soundWriter_.joinable())
        soundWriter_.join();
    else if (soundPipe_ >= 0)
        ::close(soundPipe_);
    soundPipe_ = -1;
}

bool FfmpegEncoder::finish(std::string& error)
{
    closeInputs();
    if (child_ < 0) {
        error = "ffmpeg is not running";
        return false;
    }
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = WIFEXITED(status) ? "ffmpeg failed with status " + std::to_string(WEXITSTATUS(status))
                                  : "ffmpeg was ended by signal " + std::to_string(WTERMSIG(status));
        return false;
    }
    if (!soundWritten_) {
        error = "ffmpeg did not take the whole soundtrack";
        return false;
    }
    return true;
}

void FfmpegEncoder::abort()
{
    if (child_ >= 0)
        ::kill(child_, SIGKILL);
    // With the child gone the sound thread's write fails at once, so the join cannot hang.
    closeInputs();
    if (child_ >= 0) {
        while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
        }
        child_ = -1;
    }
}
