// Writes a stage file with its includes expanded to standard output, so that a tool which does
// not expand them (the GLSL reference compiler) reads what the driver reads.
//     expand_glsl SHADER_FOLDER STAGE_FILE
#include "core/glsl_include.h"
#include "core/load_whole_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: expand_glsl SHADER_FOLDER STAGE_FILE\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string path = folder + "/" + argv[2];
    size_t size = 0;
    uint8_t* bytes = loadWholeFile(path.c_str(), &size);
    if (!bytes) {
        std::fprintf(stderr, "Could not open %s.\n", path.c_str());
        return 1;
    }
    const ExpandedGlsl expanded = expandGlslIncludes(std::string(reinterpret_cast<char*>(bytes), size), path, folder);
    std::free(bytes);
    if (!expanded.error.empty()) {
        std::fprintf(stderr, "%s\n", expanded.error.c_str());
        return 1;
    }
    std::fwrite(expanded.text.data(), 1, expanded.text.size(), stdout);
    return 0;
}
