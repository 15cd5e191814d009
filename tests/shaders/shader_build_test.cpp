// Every program of the show's build table, built from the real files: it compiles, links with
// the fixed bindings, and has an active location for each uniform its draws set (a uniform the
// GLSL ignores would make the C++ setter silently do nothing).
#include "shaders/shader_build.h"
#include "support/gl_context.h"

#include "core/gl_api.h"

#include <gtest/gtest.h>

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
        {"Tunnel", "MaterialSolid",
         {"D", "S", "c", "sc", "dc", "q", "a", "len", "time", "mp", "fc", "rad"}, {"time"}},
        {"Background", "Color", {"c"}, {}},
        {"Object", "MaterialSolid", {"D", "S", "c", "sc", "dc", "fc", "m"}, {}},
        {"Tunnel", "TunnelFireWorks",
         {"c", "e", "T", "len", "time", "rad", "q", "a", "mp", "fc"}, {}},
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

}  // namespace
