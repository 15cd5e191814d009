#include "render/shader_library.h"

#include "core/load_whole_file.h"
#include "render/programs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

GLuint programs[programCount];

namespace {

ShaderMessageSink messageSink = nullptr;

void reportInMessageBox(const char* text)
{
    if (messageSink)
        messageSink(text);
}

} // namespace

void setShaderMessageSink(ShaderMessageSink sink)
{
    messageSink = sink;
}

namespace {

// Stage lists; a program refers to a stage by list and index.
const char* const fragmentStages[] = {
    "DOF0", "DOF1", "Glow0", "Glow1", "BrightPass", "Half", "Texture", "FXAA", "Combine",
    "GeometryNM", "GeometryFlat", "MaterialSolid", "MaterialAlbedo", "MaterialEmissive",
    "TunnelFireWorks", "Color", "Environment", "Directional"};
const char* const vertexStages[] = {
    "Flat", "TunnelNM", "Tunnel", "PlaneNM", "Plane", "Background", "Light", "Object"};
constexpr int fragmentStageCount = sizeof(fragmentStages) / sizeof(fragmentStages[0]);
constexpr int vertexStageCount = sizeof(vertexStages) / sizeof(vertexStages[0]);

// Reference words of the build table: bits 0-13 index a stage list; bit 15 selects the
// geometry list, else bit 14 the vertex list, else the fragment list.
constexpr uint32_t indexMask = 0x3FFF;
constexpr uint32_t vertexBit = 1u << 14;
constexpr uint32_t geometryBit = 1u << 15;
constexpr uint32_t V(uint32_t index) { return vertexBit | index; }
constexpr uint32_t F(uint32_t index) { return index; }

// Vertex list indices.
enum : uint32_t { Flat, TunnelNM, Tunnel, PlaneNM, Plane, Background, Light, Object };
// Fragment list indices.
enum : uint32_t {
    DOF0, DOF1, Glow0, Glow1, BrightPass, Half, Texture, FXAA, Combine, GeometryNM, GeometryFlat,
    MaterialSolid, MaterialAlbedo, MaterialEmissive, TunnelFireWorks, Color, Environment,
    Directional
};

// Per program: a count of stage references and the references, vertex stage first; a count of
// 0 ends the table. Every program has a fragment stage, so none carries transform-feedback
// varyings. Combine (7) comes before FXAA (8) although the fragment list has them the other
// way round.
const uint32_t programBuildTable[] = {
    2, V(Flat), F(DOF0),
    2, V(Flat), F(DOF1),
    2, V(Flat), F(Glow0),
    2, V(Flat), F(Glow1),
    2, V(Flat), F(BrightPass),
    2, V(Flat), F(Half),
    2, V(Flat), F(Texture),
    2, V(Flat), F(Combine),
    2, V(Flat), F(FXAA),
    2, V(TunnelNM), F(GeometryNM),
    2, V(PlaneNM), F(GeometryNM),
    2, V(Object), F(GeometryFlat),
    2, V(Tunnel), F(MaterialSolid),
    2, V(Background), F(Color),
    2, V(Object), F(MaterialSolid),
    2, V(Tunnel), F(TunnelFireWorks),
    2, V(Plane), F(MaterialAlbedo),
    2, V(Object), F(MaterialEmissive),
    2, V(Flat), F(Environment),
    2, V(Light), F(Directional),
    0};

// Each entry: a zero-terminated name and one byte holding its location; an empty name ends.
const char attributeBindings[] = "A0\0\0" "A1\0\1" "A2\0\2" "A3\0\3" "A4\0\4" "";
const char outputBindings[] = "O0\0\0" "O1\0\1" "O2\0\2" "O3\0\3" "";

template <typename Bind>
void bindPackedNames(GLuint program, const char* entries, Bind bind)
{
    while (*entries) {
        const std::string name = entries;
        const GLuint location = static_cast<unsigned char>(entries[name.size() + 1]);
        bind(program, location, name.c_str());
        entries += name.size() + 2;
    }
}

struct StageList {
    const char* const* names;
    int count;
    const char* extension;
    GLenum stageType;
    std::vector<GLuint> shaders;
};

// The info log of a shader or a program, through the matching pair of queries. Never empty:
// it holds at least the terminating zero.
std::vector<GLchar> infoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog)
{
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(size_t(length > 0 ? length : 1), '\0');
    getLog(object, GLsizei(log.size()), nullptr, log.data());
    return log;
}

bool compileStages(StageList& list)
{
    for (int i = 0; i < list.count; ++i) {
        const std::string path = std::string("shaders/") + list.names[i] + list.extension;
        const GLuint shader = compileShaderFile(path.c_str(), list.stageType);
        if (!shader)
            return false;
        list.shaders.push_back(shader);
    }
    return true;
}

bool buildPrograms(const uint32_t* table, GLuint* output)
{
    StageList fragments{fragmentStages, fragmentStageCount, ".fs", GL_FRAGMENT_SHADER, {}};
    StageList vertices{vertexStages, vertexStageCount, ".vs", GL_VERTEX_SHADER, {}};
    StageList geometries{nullptr, 0, ".gs", GL_GEOMETRY_SHADER, {}};
    if (!compileStages(fragments) || !compileStages(vertices) || !compileStages(geometries))
        return false;

    const uint32_t* word = table;
    while (const uint32_t stageCount = *word++) {
        const GLuint program = glCreateProgram();
        *output++ = program;
        for (uint32_t i = 0; i < stageCount; ++i) {
            const uint32_t reference = *word++;
            const StageList& list = (reference & geometryBit) ? geometries
                                    : (reference & vertexBit) ? vertices
                                                              : fragments;
            glAttachShader(program, list.shaders.at(reference & indexMask));
        }
        if (!linkProgram(program))
            return false;
    }

    for (StageList* list : {&fragments, &vertices, &geometries})
        for (GLuint shader : list->shaders)
            glDeleteShader(shader);
    return true;
}

// Every stage of a list compiled, with 0 for a stage that failed after its report; a reload
// goes on past a failure so that every broken file is reported at once.
void compileEveryStage(StageList& list)
{
    for (int i = 0; i < list.count; ++i) {
        const std::string path = std::string("shaders/") + list.names[i] + list.extension;
        const GLuint shader = compileShaderFile(path.c_str(), list.stageType);
        if (!shader)
            std::fprintf(stderr, "%s does not compile; its programs keep their last good build.\n", path.c_str());
        list.shaders.push_back(shader);
    }
}

} // namespace

int reloadShaders()
{
    StageList fragments{fragmentStages, fragmentStageCount, ".fs", GL_FRAGMENT_SHADER, {}};
    StageList vertices{vertexStages, vertexStageCount, ".vs", GL_VERTEX_SHADER, {}};
    compileEveryStage(fragments);
    compileEveryStage(vertices);

    int kept = 0;
    const uint32_t* word = programBuildTable;
    for (int index = 0; index < programCount; ++index) {
        const uint32_t stageCount = *word++;
        std::vector<GLuint> stages;
        for (uint32_t i = 0; i < stageCount; ++i) {
            const uint32_t reference = *word++;
            const StageList& list = (reference & vertexBit) ? vertices : fragments;
            stages.push_back(list.shaders.at(reference & indexMask));
        }
        bool built = std::find(stages.begin(), stages.end(), 0u) == stages.end();
        if (built) {
            const GLuint program = glCreateProgram();
            for (GLuint stage : stages)
                glAttachShader(program, stage);
            built = linkProgram(program);
            if (built) {
                glDeleteProgram(programs[index]);
                programs[index] = program;
            } else {
                std::fprintf(stderr, "Program %d does not link; it keeps its last good build.\n", index);
                glDeleteProgram(program);
            }
        }
        kept += built ? 0 : 1;
    }

    for (StageList* list : {&fragments, &vertices})
        for (GLuint shader : list->shaders)
            if (shader)
                glDeleteShader(shader);
    lookUpUniformLocations();
    return kept;
}

bool loadShaders()
{
    if (!buildPrograms(programBuildTable, programs))
        return false;
    lookUpUniformLocations();
    return true;
}

GLuint compileShaderFile(const char* path, GLenum stageType)
{
    size_t size = 0;
    uint8_t* source = loadWholeFile(path, &size);
    if (!source) {
        reportInMessageBox(path);
        std::fprintf(stderr, "Could not open %s.\n", path);
        return 0;
    }

    const GLuint shader = glCreateShader(stageType);
    const GLchar* text = reinterpret_cast<const GLchar*>(source);
    const GLint length = GLint(size);
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    std::free(source);

    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled)
        return shader;

    const std::vector<GLchar> log = infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    reportInMessageBox(log.data());
    glDeleteShader(shader);
    return 0;
}

bool linkProgram(GLuint program)
{
    bindPackedNames(program, attributeBindings, glBindAttribLocation);
    bindPackedNames(program, outputBindings, glBindFragDataLocation);
    glLinkProgram(program);

    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked)
        return true;

    const std::vector<GLchar> log = infoLog(program, glGetProgramiv, glGetProgramInfoLog);
    std::fputs(log.data(), stderr);
    reportInMessageBox(log.data());
    return false;
}
