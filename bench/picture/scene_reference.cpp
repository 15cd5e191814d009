// How close the forward pass's scene colour comes to what texture filtering approximates: the
// same frame rendered at `factor` times the size with every texture's anisotropy off, each
// block of factor x factor pixels averaged down in linear light. Depth of field, glow and anti-aliasing are
// left out on purpose, since supersampling would change them too. Prints the PSNR of the
// show's scene colour against that reference per moment, after the composite's gain and a
// simple tone curve (x / (1 + x)), so that dark and bright scenes weigh alike.
//
//   scene_reference [--size WxH] [--factor N] [--save DIR] T [T ...]
//
// Run in the runnable folder. Each render runs in a process of its own, since start-up makes
// the show's single instances once; with --save, each moment's two images are written as PNG.
#include "capture_options.h"
#include "headless_show.h"

#include "assets/textures.h"
#include "core/gl_api.h"
#include "render/renderer.h"
#include "show/show.h"

#include <stb/stb_image_write.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr GLenum textureMaxAnisotropy = 0x84FE;
constexpr float compositeGain = 8.0f;  // the composite's fixed gain, Combine.fs

std::vector<float> capturedScene;    // RGB, bottom row first, as glReadPixels gives it
const Renderer* renderer = nullptr;  // the show's, for the pass observer

void captureSceneColour(const char* pass)
{
    if (std::string(pass) != "forward")
        return;
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, renderer->framebuffer(Renderer::sceneTarget));
    capturedScene.assign(size_t(renderer->width()) * size_t(renderer->height()) * 3, 0.0f);
    glReadPixels(0, 0, renderer->width(), renderer->height(), GL_RGB, GL_FLOAT, capturedScene.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(previous));
}

float toneMapped(float light)
{
    const float x = std::max(0.0f, light) * compositeGain;
    return std::isfinite(x) ? x / (1.0f + x) : 1.0f;
}

// Renders the moments at width x height (times `factor` with anisotropy off) and writes each
// scene colour, box-filtered down to width x height in linear light and then tone-mapped, to
// `path`.N.
int renderMoments(uint32_t width, uint32_t height, uint32_t factor, const std::vector<double>& times,
                  const std::string& path)
{
    int exitStatus = 0;
    Show* show = startHeadlessShow(width * factor, height * factor, exitStatus);
    if (!show)
        return exitStatus != 0 ? exitStatus : 1;
    renderer = show->renderer;
    if (factor > 1)
        for (uint32_t name : textureNames) {
            glBindTexture(GL_TEXTURE_2D, name);
            glTexParameterf(GL_TEXTURE_2D, textureMaxAnisotropy, 1.0f);
        }
    setPassObserver(captureSceneColour);
    for (size_t moment = 0; moment < times.size(); ++moment) {
        capturedScene.clear();
        captureShowFrame(*show, times[moment]);
        if (capturedScene.empty())
            return 1;
        const size_t fullWidth = size_t(width) * factor;
        std::vector<float> reduced(size_t(width) * height * 3, 0.0f);
        for (size_t y = 0; y < height * factor; ++y)
            for (size_t x = 0; x < fullWidth; ++x)
                for (size_t c = 0; c < 3; ++c)
                    reduced[((y / factor) * width + x / factor) * 3 + c] +=
                        capturedScene[(y * fullWidth + x) * 3 + c] / float(factor * factor);
        for (float& value : reduced)
            value = toneMapped(value);
        FILE* file = std::fopen((path + "." + std::to_string(moment)).c_str(), "wb");
        if (!file || std::fwrite(reduced.data(), sizeof(float), reduced.size(), file) != reduced.size())
            return 1;
        std::fclose(file);
    }
    return 0;
}

bool runInChild(uint32_t width, uint32_t height, uint32_t factor, const std::vector<double>& times,
                const std::string& path)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0)
        std::_Exit(renderMoments(width, height, factor, times, path));
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<float> readImage(const std::string& path, size_t values)
{
    std::vector<float> image(values);
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file || std::fread(image.data(), sizeof(float), values, file) != values)
        image.clear();
    if (file)
        std::fclose(file);
    return image;
}

void savePng(const std::string& path, const std::vector<float>& image, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels(image.size());
    for (size_t y = 0; y < height; ++y)  // top row first
        for (size_t i = 0; i < size_t(width) * 3; ++i)
            pixels[y * width * 3 + i] =
                uint8_t(std::lround(255.0f * std::clamp(image[(height - 1 - y) * width * 3 + i], 0.0f, 1.0f)));
    stbi_write_png(path.c_str(), int(width), int(height), 3, pixels.data(), int(width) * 3);
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t width = 480, height = 270, factor = 8;
    std::string saveFolder;
    std::vector<double> times;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        bool good = true;
        if (argument == "--size" && i + 1 < argc)
            good = parseFrameSize(argv[++i], width, height);
        else if (argument == "--factor" && i + 1 < argc)
            good = (factor = uint32_t(std::atoi(argv[++i]))) >= 1 && factor <= 16;
        else if (argument == "--save" && i + 1 < argc)
            saveFolder = argv[++i];
        else {
            char* end = nullptr;
            const double t = std::strtod(argv[i], &end);
            good = *end == '\0' && t >= 0.0 && t < 140.0;
            times.push_back(t);
        }
        if (!good || width * factor > 16384 || height * factor > 16384) {
            std::fputs("usage: scene_reference [--size WxH] [--factor N, 1..16] [--save DIR] T [T ...]\n", stderr);
            return 2;
        }
    }
    if (times.empty()) {
        std::fputs("scene_reference: no moments given\n", stderr);
        return 2;
    }
    char folder[] = "/tmp/scene_reference.XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string shown = std::string(folder) + "/shown", reference = std::string(folder) + "/reference";
    if (!runInChild(width, height, 1, times, shown) || !runInChild(width, height, factor, times, reference)) {
        std::fputs("scene_reference: a render failed\n", stderr);
        return 1;
    }
    std::printf("scene colour against %ux supersampling without anisotropy, %ux%u\n%-8s %9s\n", factor, width, height,
                "time s", "PSNR dB");
    const size_t values = size_t(width) * height * 3;
    for (size_t moment = 0; moment < times.size(); ++moment) {
        const std::string suffix = "." + std::to_string(moment);
        const std::vector<float> a = readImage(shown + suffix, values), b = readImage(reference + suffix, values);
        if (a.empty() || b.empty())
            return 1;
        double squared = 0.0;
        for (size_t i = 0; i < values; ++i)
            squared += double(a[i] - b[i]) * double(a[i] - b[i]);
        const double meanSquared = squared / double(values);
        std::printf("%-8.3f %9.2f\n", times[moment], meanSquared > 0.0 ? -10.0 * std::log10(meanSquared) : 999.0);
        if (!saveFolder.empty()) {
            char name[64];
            std::snprintf(name, sizeof name, "/scene-%07.3f", times[moment]);
            savePng(saveFolder + name + "-shown.png", a, width, height);
            savePng(saveFolder + name + "-reference.png", b, width, height);
        }
        std::remove((shown + suffix).c_str());
        std::remove((reference + suffix).c_str());
    }
    rmdir(folder);
    return 0;
}
