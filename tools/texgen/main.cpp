// texgen <run-dir>: generates the show's five textures into <run-dir>/2d/. Every picture is a
// pure function of this source: the same build writes the same bytes.
#include "generators.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool save(const TextureImage& image, const std::string& folder, const char* name)
{
    std::string path = folder + "/" + name;
    if (!saveTexture(image, path)) {
        std::fprintf(stderr, "texgen: could not write %s\n", path.c_str());
        return false;
    }
    std::printf("texgen: %s (%d x %d, %d channels)\n", path.c_str(), image.size, image.size, image.channels);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: texgen <run-dir>\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/2d";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "texgen: could not create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }

    // The tunnel wall, seen up close.
    if (!save(makeScratchedMetal(1024), folder, "ScratchNM_R.png"))
        return 1;
    if (!save(makeStudioEnvironment(512), folder, "env0.png"))
        return 1;
    if (!save(makeSpeedLines(512), folder, "speedlines.png"))
        return 1;
    // The ground: one tile spans eight units and is seen from two units up. 1024 texels (128 a
    // unit) keep the foreground sharp at 720p and close to it at 1080p; 2048 would double the
    // show's start-up for a difference seen only in the nearest metre.
    TextureImage dirt(1, 1), dirtNormals(1, 1);
    makeDryEarth(1024, dirt, dirtNormals);
    if (!save(dirt, folder, "Dirt.jpg") || !save(dirtNormals, folder, "DirtNM.jpg"))
        return 1;
    return 0;
}
