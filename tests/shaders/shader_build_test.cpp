// Every program of the show's build table, built from the real files: it compiles, links with
// the fixed bindings, and has an active location for each uniform its draws set (a uniform the
// GLSL ignores would make the C++ setter silently do nothing).
#include "shaders/shader_build.h"
#include "support/gl_context.h"

#include "core/gl_api.h"
#include "core/glsl_include.h"
#include "render/program_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct ProgramUniforms {
    const char* vertexStage;
    const char* fragmentStage;
    std::vector<const char*> uniforms;
    // Uniforms set by the C++ side that this pair does not need; a driver may keep them or not.
    std::set<std::string> optional;
};

// In build-table order.
const std::vector<ProgramUniforms>& showPrograms()
{
    static const std::vector<ProgramUniforms> programs = {
        {"Flat", "DOF0", {"S", "step0", "step1"}, {}},
        {"Flat", "DOF1", {"S0", "S1", "step1", "step2", "S"}, {}},
        {"Flat", "Glow0", {"S"}, {}},
        {"Flat", "Glow1", {"S"}, {}},
        {"Flat", "BrightPass", {"S"}, {}},
        {"Flat", "Half", {"S"}, {}},
        {"Flat", "Texture", {"S", "s", "b"}, {}},
        {"Flat", "Combine", {"A", "D", "G"}, {}},
        {"Flat", "FXAA", {"S", "s"}, {}},
        {"TunnelNM", "GeometryNM", {"N", "r", "q", "a", "len", "time", "mp", "rad"}, {}},
        {"PlaneNM", "GeometryNM", {"N", "r", "m", "nm", "ts"}, {}},
        {"Object", "GeometryFlat", {"r", "m", "nm"}, {}},
        // The wall texture coordinates (which "time" scrolls) serve only the firework layer.
        {"Tunnel", "MaterialSolid", {"D", "S", "c", "sc", "dc", "q", "a", "len", "time", "mp", "fc", "rad"}, {"time"}},
        {"Background", "Color", {"c"}, {}},
        {"Object", "MaterialSolid", {"D", "S", "c", "sc", "dc", "fc", "m"}, {}},
        {"Tunnel", "TunnelFireWorks", {"c", "e", "T", "len", "time", "rad", "q", "a", "mp", "fc"}, {}},
        {"Plane", "MaterialAlbedo", {"A", "D", "S", "c", "sc", "ds", "db", "fc", "m", "ts"}, {}},
        {"Object", "MaterialEmissive", {"m", "c", "e", "fc"}, {}},
        {"Flat", "Environment", {"N", "E", "a", "s", "b"}, {}},
        {"Light", "Directional", {"N", "col", "dir", "hfov"}, {}},
    };
    return programs;
}

TEST(ShaderFiles, AllTwentyProgramsBuildAndExposeTheUniformsTheirDrawsSet)
{
    ASSERT_TRUE(ensureGLContext());
    ASSERT_EQ(showPrograms().size(), 20u);
    for (const ProgramUniforms& entry : showPrograms()) {
        SCOPED_TRACE(std::string(entry.vertexStage) + "/" + entry.fragmentStage);
        BuiltProgram built = buildProgram(entry.vertexStage, entry.fragmentStage);
        ASSERT_NE(built.program, 0u) << built.log;
        for (const char* name : entry.uniforms) {
            if (entry.optional.count(name))
                continue;
            EXPECT_NE(glGetUniformLocation(built.program, name), -1) << "uniform " << name;
        }
        glDeleteProgram(built.program);
    }
}

// The program table against the stage files in the source tree: the stage lists hold exactly
// the stages the programs name, and those are exactly the files in shaders/.
TEST(ShaderFiles, TheProgramTableNamesEveryStageFileAndNoOther)
{
    std::set<std::string> named;
#define SHOW_NAMED_STAGES(binding, Type, vertex, fragment, uniforms) \
    named.insert(#vertex ".vs"); \
    named.insert(#fragment ".fs");
    SHOW_PROGRAMS(SHOW_NAMED_STAGES)
#undef SHOW_NAMED_STAGES

    std::set<std::string> listed;
#define SHOW_LISTED_FRAGMENT(name) listed.insert(#name ".fs");
#define SHOW_LISTED_VERTEX(name) listed.insert(#name ".vs");
    SHOW_FRAGMENT_STAGES(SHOW_LISTED_FRAGMENT)
    SHOW_VERTEX_STAGES(SHOW_LISTED_VERTEX)
#undef SHOW_LISTED_FRAGMENT
#undef SHOW_LISTED_VERTEX
    EXPECT_EQ(listed, named) << "a listed stage that no program uses";

    std::set<std::string> onDisk;
    for (const auto& entry : std::filesystem::directory_iterator(SHOW_SHADER_SOURCE_DIR))
        if (!entry.is_directory())
            onDisk.insert(entry.path().filename().string());
    EXPECT_EQ(onDisk, named) << "files of " << SHOW_SHADER_SOURCE_DIR << " against the table";

    // The shared code: every file of shaders/common is taken in by some stage, so none lingers
    // after the last stage that used it stops including it.
    const std::string folder = SHOW_SHADER_SOURCE_DIR;
    std::set<std::string> included;
    for (const std::string& stage : named) {
        std::ifstream file(folder + "/" + stage, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const ExpandedGlsl expanded = expandGlslIncludes(text, folder + "/" + stage, folder);
        EXPECT_EQ(expanded.error, "");
        included.insert(expanded.files.begin() + 1, expanded.files.end());
    }
    std::set<std::string> shared;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/common"))
        shared.insert(folder + "/common/" + entry.path().filename().string());
    EXPECT_EQ(shared, included) << "files of " << folder << "/common against what the stages include";
}

}  // namespace
