// renderframe: renders one test frame through the show's passes and writes it as a PNG, as
// the display would show it. Headless on Linux; in the show's own window on Windows.
//
//   renderframe <out.png> [width height] [time] [all|tunnel|plane]
//
// Run it in the runnable folder: it reads shaders/ and 2d/ like the show does.
#include "frame_target.h"
#include "test_frame.h"

#include "app/frame_readback.h"
#include "app/platform.h"
#include "assets/textures.h"

#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool parseSize(const char* text, int& value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 16 || parsed > 8192)
        return false;
    value = int(parsed);
    return true;
}

int usage()
{
    std::fputs("usage: renderframe <out.png> [width height] [time] [all|tunnel|plane]\n"
               "  width and height 16 to 8192 (default 1280 720), time in seconds (default 2)\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 6)
        return usage();
    const char* outputPath = argv[1];
    int width = 1280, height = 720;
    if (argc >= 4 && (!parseSize(argv[2], width) || !parseSize(argv[3], height)))
        return usage();
    double time = 2.0;
    if (argc >= 5) {
        char* end = nullptr;
        time = std::strtod(argv[4], &end);
        if (end == argv[4] || *end != '\0')
            return usage();
    }
    TestFrameContent content;
    if (argc >= 6) {
        const std::string mode = argv[5];
        if (mode == "tunnel")
            content.groundPlane = content.cube = false;
        else if (mode == "plane")
            content.tunnel = false;
        else if (mode != "all")
            return usage();
    }

    // Stage 1: the context and the framebuffer to draw to.
    if (!openFrameTarget(width, height)) {
        std::fputs("renderframe: no OpenGL 3.3 core context with double-precision uniforms\n", stderr);
        return 1;
    }
    // Stage 2: what start-up loads and creates (the texture loader reports its own failures).
    if (!loadTextures() || !createTestFrameObjects(width, height))
        return 1;
    enterFullscreen();
    settleFrameTarget();

    // Stage 3: one frame, read back before the swap presents it, written as a PNG.
    drawTestFrame(time, content);
    const std::vector<uint8_t> pixels = readDefaultFramebuffer(uint32_t(width), uint32_t(height));
    swapBuffers();
    if (!stbi_write_png(outputPath, width, height, 4, pixels.data(), width * 4)) {
        std::fprintf(stderr, "renderframe: could not write %s\n", outputPath);
        return 1;
    }
    std::printf("%s: %dx%d at t = %g\n", outputPath, width, height, time);
    return 0;
}
