// modelgen <run-dir>: generates the show's twelve models into <run-dir>/3d/, in the order of
// the model table. Every mesh is a pure function of this source: same build, same bytes.
#include "extruded_text.h"
#include "model_transforms.h"
#include "shapes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

bool save(const ModelSource& model, PositionEncoding encoding, const std::string& path)
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!encodeModelFile(model, encoding, bytes, error)) {
        std::fprintf(stderr, "modelgen: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "modelgen: could not write %s\n", path.c_str());
        return false;
    }
    size_t triangles = 0;
    for (const auto& group : model.groups)
        triangles += group.size();
    std::printf("modelgen: %s (%zu vertices, %zu groups, %zu triangles, %zu bytes)\n", path.c_str(),
                model.positions.size() / 3, model.groups.size(), triangles, bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: modelgen <run-dir>\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/3d";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "modelgen: could not create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }

    // 16-bit positions suffice everywhere (at most 1/65535 of a model's size off) except for
    // the eight corners of the cube, which are stored exactly.
    if (!save(makeSphere(), PositionEncoding::Quantised, folder + "/sphere.3d"))
        return 1;
    if (!save(makeTexturedCube(), PositionEncoding::Float, folder + "/texturedcube.3d"))
        return 1;

    // The credits. The camera travels along +x on the line z = 2, 2 units up, always looking
    // towards (15, 1.5, 0), so a line of lettering along x would be seen edge on. Instead the
    // name is set in two lines beyond the farthest point the camera reaches (x = 30), on its
    // line of sight and turned to face it as it approaches, large enough to read from the
    // scene's first seconds until the camera swings past. Far off and large rather than near and
    // small: it then grows less as the camera closes in, so it reads from the first second and
    // still fits the frame until the camera turns away. The sun stands straight overhead, so upright
    // letters would show it only their tops: the name leans back, and its faces catch the light.
    // The show lifts the model by one unit, so its lowest point goes to y = -1 to stand on the
    // ground.
    const float letterHeight = 5.0f, lineAdvance = 1.35f * letterHeight;
    const TextLayout layout{letterHeight, 0.35f, 40.0f, 0.05f};
    const float facingApproach = -70.0f * 3.14159265f / 180.0f;
    const float leanBack = 40.0f * 3.14159265f / 180.0f;
    const std::array<float, 3> creditsPlace{56.0f, 0.0f, -3.5f};
    ModelSource credits;
    const char* lines[2] = {"soundtrack", "moravelkint"};
    for (int line = 0; line < 2; ++line) {
        ModelSource text;
        std::string reason;
        if (!makeExtrudedText(SHOW_CREDITS_FONT, lines[line], layout, text, reason)) {
            std::fprintf(stderr, "modelgen: credits: %s\n", reason.c_str());
            return 1;
        }
        turnAndMoveModel(text, 0.0f, {0.0f, float(1 - line) * lineAdvance, 0.0f});
        appendModel(credits, text);
    }
    leanModelBack(credits, leanBack);
    turnAndMoveModel(credits, facingApproach, creditsPlace);
    standModelOn(credits, -1.0f);
    // Once the camera has swung past the name it looks down at the plain in front of it:
    // crystals there give it something to hold on to until the picture fades to white.
    appendModel(credits, makeCrystalOutcrops(-1.0f));
    if (!save(credits, PositionEncoding::Quantised, folder + "/soundtrackmoravelkint.3d"))
        return 1;

    for (int k = 0; k < sculptureCount; ++k)
        if (!save(makeSculpture(k), PositionEncoding::Quantised, folder + "/g_" + std::to_string(k) + ".3d"))
            return 1;
    return 0;
}
