// The shader library against stand-in stage files written by the test (so that each program's
// stages can be recognised) and against the show's real files.
#include "platform/platform.h"
#include "render/programs.h"
#include "render/shader_library.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <utility>

namespace fs = std::filesystem;

namespace {

// clang-format off
const char* const fragmentNames[] = {
    "DOF0", "DOF1", "Glow0", "Glow1", "BrightPass", "Half", "Texture", "FXAA", "Combine",
    "GeometryNM", "GeometryFlat", "MaterialSolid", "MaterialAlbedo", "MaterialEmissive",
    "TunnelFireWorks", "Color", "Environment", "Directional"};
const char* const vertexNames[] = {
    "Flat", "TunnelNM", "Tunnel", "PlaneNM", "Plane", "Background", "Light", "Object"};

// The stage pair of each program, in the order of `programs`.
const std::pair<const char*, const char*> expectedPairs[programCount] = {
    {"Flat", "DOF0"}, {"Flat", "DOF1"}, {"Flat", "Glow0"}, {"Flat", "Glow1"},
    {"Flat", "BrightPass"}, {"Flat", "Half"}, {"Flat", "Texture"}, {"Flat", "Combine"},
    {"Flat", "FXAA"}, {"TunnelNM", "GeometryNM"}, {"PlaneNM", "GeometryNM"},
    {"Object", "GeometryFlat"}, {"Tunnel", "MaterialSolid"}, {"Background", "Color"},
    {"Object", "MaterialSolid"}, {"Tunnel", "TunnelFireWorks"}, {"Plane", "MaterialAlbedo"},
    {"Object", "MaterialEmissive"}, {"Flat", "Environment"}, {"Light", "Directional"}};
// clang-format on

// Each stand-in stage has one uniform named after itself ("v_Flat", "f_DOF0"), so a linked
// program tells which two stages it holds. "f_MaterialSolid" also reads "D", but no stand-in
// declares "dc".
void writeStandInStages(const fs::path& folder)
{
    fs::create_directories(folder / "shaders");
    for (const char* name : vertexNames) {
        std::ofstream(folder / "shaders" / (std::string(name) + ".vs"))
            << "#version 330 core\nin vec4 A0;\nuniform float v_" << name
            << ";\nvoid main() { gl_Position = vec4(A0.xyz * v_" << name << ", 1.0); }\n";
    }
    for (const char* name : fragmentNames) {
        std::ofstream(folder / "shaders" / (std::string(name) + ".fs"))
            << "#version 330 core\nout vec4 O0;\nuniform float f_" << name << ";\n"
            << (std::string(name) == "MaterialSolid" ? "uniform sampler2DRect D;\n" : "")
            << "void main() { O0 = vec4(f_" << name
            << (std::string(name) == "MaterialSolid" ? " + texture(D, gl_FragCoord.xy).x" : "") << "); }\n";
    }
}

// Runs loadShaders with `folder` as the working directory; captures standard error.
bool loadShadersIn(const fs::path& folder, std::string& errors)
{
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    for (GLuint& name : programs)
        name = 0;
    setShaderMessageSink(showMessageBox);
    testing::internal::CaptureStderr();
    const bool loaded = loadShaders();
    errors = testing::internal::GetCapturedStderr();
    fs::current_path(previous);
    return loaded;
}

class StandInShaders : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ensureGLContext());
        const std::string testName = testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = fs::temp_directory_path() / ("show-shader-test-" + testName);
        fs::remove_all(folder);
        writeStandInStages(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void overwrite(const std::string& file, const std::string& text)
    {
        std::ofstream(folder / "shaders" / file) << text;
    }

    fs::path folder;
};

// Compile-time checks of the binding layer: a setter takes exactly its own type.
template <typename Uniform, typename... Args>
auto canSet(int) -> decltype(std::declval<const Uniform&>().set(std::declval<Args>()...), std::true_type{});
template <typename Uniform, typename... Args> std::false_type canSet(...);
template <typename Uniform, typename... Args> constexpr bool settable = decltype(canSet<Uniform, Args...>(0))::value;

static_assert(settable<UniformInt, int>);
static_assert(!settable<UniformInt, float>);
static_assert(!settable<UniformInt, unsigned>);
static_assert(settable<UniformFloat, float>);
static_assert(!settable<UniformFloat, double>);
static_assert(!settable<UniformFloat, int>);
static_assert(settable<UniformDouble, double>);
static_assert(!settable<UniformDouble, float>);
static_assert(settable<UniformTwoFloats, float, float>);
static_assert(!settable<UniformTwoFloats, double, double>);
static_assert(settable<UniformThreeFloats, float, float, float>);
static_assert(settable<UniformVec2, glm::vec2>);
static_assert(!settable<UniformVec2, glm::vec3>);
static_assert(settable<UniformVec3, glm::vec3>);
static_assert(!settable<UniformVec3, glm::vec4>);
static_assert(settable<UniformVec4, glm::vec4>);
static_assert(!settable<UniformVec4, glm::vec3>);
static_assert(settable<UniformMat4, glm::mat4>);
static_assert(!settable<UniformMat4, glm::mat3>);
static_assert(!settable<UniformUnset, float, float, float>);
// The uniform types of a few programs, as the passes use them.
static_assert(std::is_same_v<decltype(TunnelNMGeometryNMProgram::time), UniformDouble>);
static_assert(std::is_same_v<decltype(TunnelMaterialSolidProgram::dc), UniformUnset>);
static_assert(std::is_same_v<decltype(ObjectMaterialSolidProgram::dc), UniformThreeFloats>);
static_assert(std::is_same_v<decltype(BackgroundColorProgram::c), UniformVec4>);
static_assert(FlatCombineProgram::programIndex == 7 && FlatFXAAProgram::programIndex == 8);

}  // namespace

TEST_F(StandInShaders, TwentyProgramsPairTheirStagesInTableOrder)
{
    std::string errors;
    ASSERT_TRUE(loadShadersIn(folder, errors)) << errors;
    EXPECT_EQ(errors, "");
    for (int i = 0; i < programCount; ++i) {
        SCOPED_TRACE(std::string("program ") + std::to_string(i) + " " + expectedPairs[i].first + "/" +
                     expectedPairs[i].second);
        ASSERT_NE(programs[i], 0u);
        EXPECT_GE(glGetUniformLocation(programs[i], (std::string("v_") + expectedPairs[i].first).c_str()), 0);
        EXPECT_GE(glGetUniformLocation(programs[i], (std::string("f_") + expectedPairs[i].second).c_str()), 0);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(programs[i], programs[j]);
    }
}

TEST_F(StandInShaders, LocationsAreLookedUpOnceAndAbsentOnesAreMinusOne)
{
    std::string errors;
    ASSERT_TRUE(loadShadersIn(folder, errors)) << errors;
    // The stand-in MaterialSolid reads "D" but has no "dc": the tunnel's "dc" is -1 and the
    // program still built.
    EXPECT_GE(program::tunnelMaterialSolid.D.location, 0);
    EXPECT_GE(program::objectMaterialSolid.D.location, 0);
    EXPECT_EQ(program::tunnelMaterialSolid.dc.location, -1);
    EXPECT_EQ(program::objectMaterialSolid.dc.location, -1);
    EXPECT_EQ(program::flatCombine.A.location, -1);
    // Setting a -1 location does nothing and raises no error.
    while (glGetError() != GL_NO_ERROR) {
    }
    program::objectMaterialSolid.use();
    program::objectMaterialSolid.dc.set(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // Attribute and output names are bound before linking.
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), programs[14]);
}

TEST_F(StandInShaders, MissingLastVertexFileIsReportedAfterAllOthersCompiledAndNoProgramExists)
{
    fs::remove(folder / "shaders" / "Object.vs");
    std::string errors;
    EXPECT_FALSE(loadShadersIn(folder, errors));
    // The message box (on standard error in the headless backend) with the path, then the line.
    EXPECT_EQ(errors, "shaders/Object.vs\nCould not open shaders/Object.vs.\n");
    for (GLuint name : programs)
        EXPECT_EQ(name, 0u);
}

TEST_F(StandInShaders, FragmentFilesCompileBeforeVertexFiles)
{
    // A broken first fragment file and a missing vertex file: the compile error comes first
    // and ends the build, so the missing file is never mentioned.
    fs::remove(folder / "shaders" / "Flat.vs");
    overwrite("DOF0.fs", "#version 330 core\nout vec4 O0;\nvoid main() { O0 = undeclared; }\n");
    std::string errors;
    EXPECT_FALSE(loadShadersIn(folder, errors));
    EXPECT_NE(errors.find("undeclared"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("Could not open"), std::string::npos) << errors;
}

TEST_F(StandInShaders, CompileErrorShowsTheLogAndStops)
{
    overwrite("Directional.fs", "#version 330 core\nout vec4 O0;\nvoid main() { O0 = vec4(1.0) }\n");
    std::string errors;
    EXPECT_FALSE(loadShadersIn(folder, errors));
    EXPECT_FALSE(errors.empty());
    EXPECT_EQ(errors.find("Could not open"), std::string::npos);
    for (GLuint name : programs)
        EXPECT_EQ(name, 0u);
}

TEST_F(StandInShaders, LinkErrorWritesTheLogTwiceAndStopsAtThatProgram)
{
    // Glow1.fs declares Flat.vs's uniform with another type: program 3 fails to link.
    overwrite("Glow1.fs", "#version 330 core\nuniform vec2 v_Flat;\nout vec4 O0;\n"
                          "void main() { O0 = vec4(v_Flat, 0.0, 1.0); }\n");
    std::string errors;
    EXPECT_FALSE(loadShadersIn(folder, errors));
    ASSERT_FALSE(errors.empty());
    // Once as the log on standard error, once in the message box.
    const std::string half = errors.substr(0, errors.size() / 2);
    EXPECT_NE(errors.find(half, half.size()), std::string::npos) << errors;
    EXPECT_NE(programs[3], 0u);
    EXPECT_EQ(programs[4], 0u);
}

// The show's own files, as the runnable folder holds them.
TEST(RealShaders, AllTwentyProgramsBuildAndReadTheirTextures)
{
    ASSERT_TRUE(ensureGLContext());
    setShaderMessageSink(showMessageBox);
    testing::internal::CaptureStderr();
    const bool loaded = loadShaders();
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(loaded) << errors;
    EXPECT_EQ(errors, "");
    // Every sampler that a pass sets must be one the program reads.
    EXPECT_GE(program::flatDOF0.S.location, 0);
    EXPECT_GE(program::flatDOF1.S0.location, 0);
    EXPECT_GE(program::flatDOF1.S1.location, 0);
    EXPECT_GE(program::flatGlow0.S.location, 0);
    EXPECT_GE(program::flatGlow1.S.location, 0);
    EXPECT_GE(program::flatBrightPass.S.location, 0);
    EXPECT_GE(program::flatHalf.S.location, 0);
    EXPECT_GE(program::flatCombine.A.location, 0);
    EXPECT_GE(program::flatCombine.D.location, 0);
    EXPECT_GE(program::flatCombine.G.location, 0);
    EXPECT_GE(program::flatFXAA.S.location, 0);
    EXPECT_GE(program::tunnelNMGeometryNM.N.location, 0);
    EXPECT_GE(program::planeNMGeometryNM.N.location, 0);
    EXPECT_GE(program::tunnelMaterialSolid.S.location, 0);
    EXPECT_GE(program::objectMaterialSolid.D.location, 0);
    EXPECT_GE(program::planeMaterialAlbedo.A.location, 0);
    EXPECT_GE(program::tunnelTunnelFireWorks.T.location, 0);
    EXPECT_GE(program::flatEnvironment.N.location, 0);
    EXPECT_GE(program::flatEnvironment.E.location, 0);
    EXPECT_GE(program::lightDirectional.N.location, 0);
    // The scrolling wall and streaks need the time.
    EXPECT_GE(program::tunnelNMGeometryNM.time.location, 0);
    EXPECT_GE(program::tunnelTunnelFireWorks.time.location, 0);
}

TEST_F(StandInShaders, IncludesAreExpandedAndTheirFailuresNameFileAndLine)
{
    fs::create_directories(folder / "shaders" / "common");
    overwrite("common/colour.glsl", "vec4 colour() { return vec4(1.0); }\n");
    overwrite("Color.fs", "#version 330 core\n#include \"common/colour.glsl\"\nout vec4 O0;\n"
                          "uniform float f_Color;\nvoid main() { O0 = colour() * f_Color; }\n");
    std::string errors;
    ASSERT_TRUE(loadShadersIn(folder, errors)) << errors;

    // A missing include ends the build like a compile error, in one line with file and line.
    overwrite("Color.fs", "#version 330 core\n\n#include \"common/none.glsl\"\nvoid main() {}\n");
    EXPECT_FALSE(loadShadersIn(folder, errors));
    const std::string missing = "shaders/Color.fs:3: cannot open the included shaders/common/none.glsl\n";
    EXPECT_EQ(errors, missing + missing);  // the message box, then the line

    // An error in an included file: the driver's log numbers it by file, and says which is which.
    overwrite("common/colour.glsl", "\nvec4 colour() { return vec4(1.0) }\n");
    overwrite("Color.fs", "#version 330 core\n#include \"common/colour.glsl\"\nout vec4 O0;\n"
                          "void main() { O0 = colour(); }\n");
    EXPECT_FALSE(loadShadersIn(folder, errors));
    EXPECT_NE(errors.find("1:2("), std::string::npos) << errors;
    EXPECT_NE(errors.find("Source strings: 0 shaders/Color.fs, 1 shaders/common/colour.glsl\n"), std::string::npos)
        << errors;
}
