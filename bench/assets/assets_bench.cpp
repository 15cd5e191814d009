// Prints load times of the asset loaders (never pass or fail):
//   1. a 60k-vertex model and one with twice its triangles: parse, smoothing and stream, and
//      the GL upload when a context can be had; the growth should stay near linear;
//   2. start-up steps 3 (the five textures) and 6 (the twelve models) on the show's content,
//      and each texture's decode, upload and mip-map times.
// Usage: assets_bench [run-dir]   (default: the build's runnable folder)
#include "assets/image_decode.h"
#include "assets/mip_chain.h"
#include "assets/model_table.h"
#include "assets/model_writer.h"
#include "assets/texture_format.h"
#include "assets/textures.h"

#include "core/gl_api.h"
#include "core/load_whole_file.h"
#include "platform/platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A wavy grid of side x side vertices whose triangles are repeated `copies` times in groups
// of their own (so copies = 2 doubles the triangles at the same vertex count).
std::vector<uint8_t> gridModel(int side, int copies)
{
    ModelSource source;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            source.positions.insert(source.positions.end(), {float(x), float(y), 0.3f * float((x * 7 + y * 3) % 5)});
    // A group holds at most 65535 triangles: each copy is split into rows of bands.
    for (int copy = 0; copy < copies; ++copy)
        for (int y = 0; y + 1 < side; ++y) {
            if (y % 100 == 0)
                source.groups.emplace_back();
            for (int x = 0; x + 1 < side; ++x) {
                uint16_t a = uint16_t(y * side + x), b = uint16_t(a + 1), c = uint16_t(a + side), d = uint16_t(c + 1);
                source.groups.back().push_back({{a, b, d}});
                source.groups.back().push_back({{a, d, c}});
            }
        }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!encodeModelFile(source, PositionEncoding::Quantised, bytes, error))
        std::fprintf(stderr, "assets_bench: %s\n", error.c_str());
    return bytes;
}

// Best of `runs` timings of parsing and stream building, in milliseconds.
double bestCpuLoad(const std::vector<uint8_t>& bytes, int runs, size_t& triangles)
{
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        ParsedModel model;
        std::string error;
        parseModelFile(bytes.data(), bytes.size(), model, error);
        std::vector<float> stream = buildVertexStream(model);
        best = std::min(best, millisecondsSince(start));
        triangles = stream.size() / 18;
    }
    return best;
}

// Where loadTextures spends its time, texture by texture: reading and decoding the file, the
// upload (where the driver compresses a texture flagged so), and the mip-map chain: the
// driver's, or the loader's own on a software driver ("own" after the size).
// The same GL calls as the loader, each step finished with glFinish.
void textureSteps()
{
    std::printf("\n  %-20s %15s %10s %9s %9s\n", "texture", "size", "decode ms", "upload ms", "mips ms");
    float maxAnisotropy = 1.0f;
    glGetFloatv(0x84FF, &maxAnisotropy);
    for (const TextureEntry& entry : textureTable) {
        Clock::time_point start = Clock::now();
        size_t size = 0;
        uint8_t* bytes = loadWholeFile(entry.file, &size);
        DecodedImage image;
        std::string error;
        TextureFormat format;
        const bool decoded =
            bytes && decodeImage(bytes, size, image, error) && chooseTextureFormat(image.channels, entry.flags, format);
        std::free(bytes);
        if (!decoded) {
            std::printf("  cannot decode %s\n", entry.file);
            continue;
        }
        const double decodeMs = millisecondsSince(start);
        const bool ownMipmaps = rendererIsSoftware(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        if (ownMipmaps)
            chooseTextureFormat(image.channels, uint8_t(entry.flags & ~TextureFlags::TexCompressed), format);
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        start = Clock::now();
        glTexImage2D(GL_TEXTURE_2D, 0, format.internalFormat, image.width, image.height, 0, format.pixelFormat,
                     GL_UNSIGNED_BYTE, image.pixels.get());
        glFinish();
        const double uploadMs = millisecondsSince(start);
        const TextureSampling sampling = chooseTextureSampling(entry.flags);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, sampling.minFilter);
        if (entry.flags & TextureFlags::TexAnisotropic)
            glTexParameterf(GL_TEXTURE_2D, 0x84FE, maxAnisotropy);
        start = Clock::now();
        int width = image.width, height = image.height;
        if (ownMipmaps)
            for (int level = 1; level < mipLevelCount(image.width, image.height); ++level) {
                halveImage(image.pixels.get(), width, height, image.channels, image.pixels.get());
                width = width > 1 ? width / 2 : 1;
                height = height > 1 ? height / 2 : 1;
                glTexImage2D(GL_TEXTURE_2D, level, format.internalFormat, width, height, 0, format.pixelFormat,
                             GL_UNSIGNED_BYTE, image.pixels.get());
            }
        else
            glGenerateMipmap(GL_TEXTURE_2D);
        glFinish();
        char dimensions[40];
        std::snprintf(dimensions, sizeof dimensions, "%dx%dx%d%s", image.width, image.height, image.channels,
                      ownMipmaps ? " own" : "");
        std::printf("  %-20s %15s %10.1f %9.1f %9.1f\n", entry.file, dimensions, decodeMs, uploadMs,
                    millisecondsSince(start));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glDeleteTextures(1, &name);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string runDir = argc > 1 ? argv[1] : SHOW_RUN_DIR;
    std::filesystem::current_path(runDir);
    bool gl = createGLWindow();
    std::printf("assets_bench: run folder %s; GL context: %s\n", runDir.c_str(),
                gl ? reinterpret_cast<const char*>(glGetString(GL_RENDERER)) : "none (GL upload not measured)");

    std::printf("\nmodel load, best of 5 (parse + smoothing + stream%s)\n", gl ? "; then with upload" : "");
    double baseline = 0.0;
    for (int copies : {1, 2}) {
        std::vector<uint8_t> bytes = gridModel(245, copies);
        size_t triangles = 0;
        double cpu = bestCpuLoad(bytes, 5, triangles);
        if (copies == 1)
            baseline = cpu;
        std::printf("  %d vertices, %7zu triangles, %8zu bytes: %8.2f ms  (x%.2f)", 245 * 245, triangles, bytes.size(),
                    cpu, cpu / baseline);
        if (gl) {
            std::string path = "bench-grid.3d";
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            Model model;
            Clock::time_point start = Clock::now();
            model.load(path.c_str());
            glFinish();
            std::printf("; Model::load with upload %8.2f ms", millisecondsSince(start));
            std::filesystem::remove(path);
        }
        std::printf("\n");
    }

    std::printf("\nstart-up on the show's content\n");
    Clock::time_point start = Clock::now();
    if (gl) {
        bool loaded = loadTextures();
        glFinish();
        std::printf("  step 3, loadTextures:           %8.2f ms%s\n", millisecondsSince(start),
                    loaded ? "" : " (FAILED)");
        start = Clock::now();
        static Model models[modelCount];
        for (int i = 0; i < modelCount; ++i)
            models[i].load(modelFiles[i]);
        glFinish();
        std::printf("  step 6, twelve Model::load:     %8.2f ms\n", millisecondsSince(start));
    }
    // The CPU share alone: reading and decoding the images, reading, parsing and smoothing the
    // models.
    start = Clock::now();
    for (const TextureEntry& entry : textureTable) {
        size_t size = 0;
        uint8_t* bytes = loadWholeFile(entry.file, &size);
        DecodedImage image;
        std::string error;
        if (!bytes || !decodeImage(bytes, size, image, error))
            std::printf("  cannot decode %s\n", entry.file);
        std::free(bytes);
    }
    std::printf("  textures, read + decode (CPU):  %8.2f ms\n", millisecondsSince(start));
    if (gl)
        textureSteps();
    start = Clock::now();
    for (const char* file : modelFiles) {
        size_t size = 0;
        uint8_t* bytes = loadWholeFile(file, &size);
        ParsedModel model;
        std::string error;
        if (!bytes || !parseModelFile(bytes, size, model, error))
            std::printf("  cannot parse %s\n", file);
        else
            buildVertexStream(model);
        std::free(bytes);
    }
    std::printf("  models, read + parse + stream:  %8.2f ms\n", millisecondsSince(start));
    return 0;
}
