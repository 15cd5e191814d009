// Capture throughput. For each size, the same stretch of the show twice: rendered and read back
// with nothing written (the floor), then captured to an H.264 video with its sound. Prints
// frames per second and where each thread's time went, so the overlap of rendering, read-back,
// conversion and encoding can be judged: the aim is a capture within 10 % of the floor.
//
//   capture_bench [seconds of the show, from 45 s]      run in the runnable folder
#include "headless_show.h"
#include "moving_capture.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void printRun(const char* name, const CaptureFigures& figures)
{
    const double wall = figures.wallSeconds > 0.0 ? figures.wallSeconds : 1.0;
    auto share = [&](double seconds) { return 100.0 * seconds / wall; };
    std::printf("  %-12s %5llu frames %7.2f s %6.1f frames/s   render %3.0f%%  read-back %3.0f%%  convert %3.0f%%  "
                "write %3.0f%%  finish %3.0f%%\n",
                name, static_cast<unsigned long long>(figures.frames), figures.wallSeconds,
                double(figures.frames) / wall, share(figures.renderSeconds), share(figures.readbackSeconds),
                share(figures.convertSeconds), share(figures.writeSeconds), share(figures.finishSeconds));
}

int benchSize(uint32_t width, uint32_t height, double seconds)
{
    int exitStatus = 0;
    Show* show = startHeadlessShow(width, height, exitStatus);
    if (!show)
        return 1;
    std::printf("%ux%u, %.1f s of the show from 45 s at 60 frames/s\n", width, height, seconds);
    const std::string video = "/tmp/capture_bench_" + std::to_string(getpid()) + ".mp4";
    int status = 0;
    for (FrameDestination destination : {FrameDestination::Nowhere, FrameDestination::Video}) {
        MovingCapture capture;
        capture.destination = destination;
        capture.outputPath = video;
        capture.width = width;
        capture.height = height;
        capture.from = 45.0;
        capture.to = 45.0 + seconds;
        capture.showProgress = false;
        PreparedCapture prepared;
        std::string error;
        if (!prepareMovingCapture(capture, prepared, error)) {
            std::fprintf(stderr, "capture_bench: %s\n", error.c_str());
            return 1;
        }
        CaptureFigures figures;
        status |= runMovingCapture(*show, capture, prepared, figures);
        printRun(destination == FrameDestination::Video ? "video" : "render only", figures);
    }
    std::remove(video.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (!(seconds > 0.0 && seconds <= 20.0)) {
        std::fputs("usage: capture_bench [seconds of the show, up to 20]\n", stderr);
        return 2;
    }
    const uint32_t sizes[][2] = {{640, 360}, {1280, 720}};
    for (const auto& size : sizes) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child < 0) {
            std::perror("capture_bench: fork");
            return 1;
        }
        if (child == 0) {
            const int status = benchSize(size[0], size[1], seconds);
            std::fflush(stdout);
            std::_Exit(status);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "capture_bench: the %ux%u run failed\n", size[0], size[1]);
            return 1;
        }
    }
    return 0;
}
