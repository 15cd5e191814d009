// Writes the seed corpus of the asset fuzz targets into <dir>/model and <dir>/image: small
// valid models of every layout and small PNG and JPEG images of every channel count. The
// corpus is made afresh for each run, so no binary file is kept in the repository.
#include "assets/model_writer.h"

#include <stb/stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

ModelSource tetrahedron(bool textured, size_t groups)
{
    ModelSource source;
    source.textured = textured;
    source.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    const ModelSourceTriangle faces[4] = {{{0, 2, 1}, {0, 0, 100, 0, 0, 100}},
                                          {{0, 1, 3}, {0, 0, 65535, 0, 0, 65535}},
                                          {{0, 3, 2}, {5, 5, 5, 5, 5, 5}},
                                          {{1, 2, 3}, {0, 0, 1, 1, 2, 2}}};
    source.groups.resize(groups);
    for (size_t i = 0; i < 4; ++i)
        source.groups[i % groups].push_back(faces[i]);
    return source;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assets_fuzz_seeds <dir>\n");
        return 2;
    }
    std::string root = argv[1];
    std::filesystem::create_directories(root + "/model");
    std::filesystem::create_directories(root + "/image");

    int written = 0;
    for (bool textured : {false, true})
        for (size_t groups : {1, 3})
            for (PositionEncoding encoding : {PositionEncoding::Quantised, PositionEncoding::Float}) {
                std::vector<uint8_t> bytes;
                std::string error;
                if (!encodeModelFile(tetrahedron(textured, groups), encoding, bytes, error)) {
                    std::fprintf(stderr, "assets_fuzz_seeds: %s\n", error.c_str());
                    return 1;
                }
                writeFile(root + "/model/seed" + std::to_string(written++) + ".3d", bytes);
            }

    for (int channels = 1; channels <= 4; ++channels) {
        const int width = 5, height = 3;
        std::vector<uint8_t> pixels(size_t(width * height * channels));
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = uint8_t(i * 29);
        std::string stem = root + "/image/seed" + std::to_string(channels);
        if (!stbi_write_png((stem + ".png").c_str(), width, height, channels, pixels.data(), width * channels) ||
            !stbi_write_jpg((stem + ".jpg").c_str(), width, height, channels, pixels.data(), 80)) {
            std::fprintf(stderr, "assets_fuzz_seeds: cannot write %s\n", stem.c_str());
            return 1;
        }
    }
    return 0;
}
