// modeltool: looks into .3d models and converts them to and from Wavefront OBJ.
//   modeltool info <model.3d>
//   modeltool dump <model.3d>
//   modeltool import <in.obj> <out.3d> [--float]
//   modeltool export <model.3d> <out.obj>
#include "model_report.h"
#include "obj_convert.h"

#include "core/load_whole_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: modeltool info <model.3d>\n"
                         "       modeltool dump <model.3d>\n"
                         "       modeltool import <in.obj> <out.3d> [--float]\n"
                         "       modeltool export <model.3d> <out.obj>\n");
    return 2;
}

bool readModel(const char* path, ParsedModel& model, size_t& size)
{
    uint8_t* bytes = loadWholeFile(path, &size);
    if (!bytes) {
        std::fprintf(stderr, "modeltool: cannot read %s\n", path);
        return false;
    }
    std::string error;
    bool parsed = parseModelFile(bytes, size, model, error);
    std::free(bytes);
    if (!parsed)
        std::fprintf(stderr, "modeltool: %s: %s\n", path, error.c_str());
    return parsed;
}

int importCommand(const char* in, const char* out, bool floats)
{
    ObjImport imported;
    std::string error;
    if (!importObj(in, imported, error)) {
        std::fprintf(stderr, "modeltool: %s\n", error.c_str());
        return 1;
    }
    if (!imported.warnings.empty())
        std::fprintf(stderr, "modeltool: %s: %s", in, imported.warnings.c_str());
    if (imported.clampedTextureCoordinates)
        std::fprintf(stderr, "modeltool: %s: %zu texture coordinates outside [0, 1] were clamped\n", in,
                     imported.clampedTextureCoordinates);
    std::vector<uint8_t> bytes;
    if (!encodeModelFile(imported.model, floats ? PositionEncoding::Float : PositionEncoding::Quantised, bytes,
                         error)) {
        std::fprintf(stderr, "modeltool: %s: %s\n", in, error.c_str());
        return 1;
    }
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "modeltool: cannot write %s\n", out);
        return 1;
    }
    size_t triangles = 0;
    for (const auto& group : imported.model.groups)
        triangles += group.size();
    std::printf("%s: %zu vertices, %zu groups, %zu triangles%s, %s positions\n", out,
                imported.model.positions.size() / 3, imported.model.groups.size(), triangles,
                imported.model.textured ? ", textured" : "", floats ? "float" : "16-bit");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    std::string command = argv[1];
    if ((command == "info" || command == "dump") && argc == 3) {
        ParsedModel model;
        size_t size = 0;
        if (!readModel(argv[2], model, size))
            return 1;
        if (command == "info")
            printModelInfo(model, size, std::cout);
        else
            printVertexStream(model, std::cout);
        return 0;
    }
    if (command == "import" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "--float")))
        return importCommand(argv[2], argv[3], argc == 5);
    if (command == "export" && argc == 4) {
        ParsedModel model;
        size_t size = 0;
        if (!readModel(argv[2], model, size))
            return 1;
        std::ofstream file(argv[3]);
        exportObj(model, std::filesystem::path(argv[2]).stem().string(), file);
        if (!file) {
            std::fprintf(stderr, "modeltool: cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    return usage();
}
