#include "render/shader_library.h"

#include "core/glsl_include.h"
#include "core/load_whole_file.h"
#include "render/programs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
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

}  // namespace

void setShaderMessageSink(ShaderMessageSink sink)
{
    messageSink = sink;
}

namespace {

// The stage lists and each program's pair, from render/program_table.h.
enum class FragmentStage {
#define SHOW_STAGE_ENUMERATOR(name) name,
    SHOW_FRAGMENT_STAGES(SHOW_STAGE_ENUMERATOR)
};
enum class VertexStage {
    SHOW_VERTEX_STAGES(SHOW_STAGE_ENUMERATOR)
#undef SHOW_STAGE_ENUMERATOR
};
#define SHOW_STAGE_NAME(name) #name,
const char* const fragmentStages[] = {SHOW_FRAGMENT_STAGES(SHOW_STAGE_NAME)};
const char* const vertexStages[] = {SHOW_VERTEX_STAGES(SHOW_STAGE_NAME)};
#undef SHOW_STAGE_NAME
constexpr int fragmentStageCount = sizeof(fragmentStages) / sizeof(fragmentStages[0]);
constexpr int vertexStageCount = sizeof(vertexStages) / sizeof(vertexStages[0]);

struct ProgramStages {
    VertexStage vertex;
    FragmentStage fragment;
};
const ProgramStages programStages[programCount] = {
#define SHOW_PROGRAM_STAGES(binding, Type, vertex, fragment, uniforms) {VertexStage::vertex, FragmentStage::fragment},
    SHOW_PROGRAMS(SHOW_PROGRAM_STAGES)
#undef SHOW_PROGRAM_STAGES
};

// The fixed names of vertex inputs and fragment outputs; each one's location is its index.
const char* const attributeNames[] = {"A0", "A1", "A2", "A3", "A4"};
const char* const outputNames[] = {"O0", "O1", "O2", "O3"};

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

bool buildPrograms(GLuint* output)
{
    StageList fragments{fragmentStages, fragmentStageCount, ".fs", GL_FRAGMENT_SHADER, {}};
    StageList vertices{vertexStages, vertexStageCount, ".vs", GL_VERTEX_SHADER, {}};
    if (!compileStages(fragments) || !compileStages(vertices))
        return false;

    for (const ProgramStages& stages : programStages) {
        const GLuint program = glCreateProgram();
        *output++ = program;
        glAttachShader(program, vertices.shaders.at(size_t(stages.vertex)));
        glAttachShader(program, fragments.shaders.at(size_t(stages.fragment)));
        if (!linkProgram(program))
            return false;
    }

    for (StageList* list : {&fragments, &vertices})
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

// The log numbers lines by source string; where a stage includes files, a line saying which
// file each number is, so "1:12" can be found.
std::string sourceStringLegend(const std::vector<std::string>& files)
{
    if (files.size() < 2)
        return "";
    std::string legend = "Source strings:";
    for (size_t number = 0; number < files.size(); ++number)
        legend += " " + std::to_string(number) + " " + files[number] + (number + 1 < files.size() ? "," : "\n");
    return legend;
}

}  // namespace

int reloadShaders()
{
    StageList fragments{fragmentStages, fragmentStageCount, ".fs", GL_FRAGMENT_SHADER, {}};
    StageList vertices{vertexStages, vertexStageCount, ".vs", GL_VERTEX_SHADER, {}};
    compileEveryStage(fragments);
    compileEveryStage(vertices);

    int kept = 0;
    for (int index = 0; index < programCount; ++index) {
        const GLuint stages[] = {vertices.shaders.at(size_t(programStages[index].vertex)),
                                 fragments.shaders.at(size_t(programStages[index].fragment))};
        bool built = std::find(std::begin(stages), std::end(stages), 0u) == std::end(stages);
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
    if (!buildPrograms(programs))
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

    const ExpandedGlsl expanded =
        expandGlslIncludes(std::string(reinterpret_cast<const char*>(source), size), path, "shaders");
    std::free(source);
    if (!expanded.error.empty()) {
        reportInMessageBox(expanded.error.c_str());
        std::fprintf(stderr, "%s\n", expanded.error.c_str());
        return 0;
    }

    const GLuint shader = glCreateShader(stageType);
    const GLchar* text = expanded.text.c_str();
    const GLint length = GLint(expanded.text.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);

    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled)
        return shader;

    const std::vector<GLchar> log = infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    reportInMessageBox((log.data() + sourceStringLegend(expanded.files)).c_str());
    glDeleteShader(shader);
    return 0;
}

bool linkProgram(GLuint program)
{
    for (GLuint location = 0; location < std::size(attributeNames); ++location)
        glBindAttribLocation(program, location, attributeNames[location]);
    for (GLuint location = 0; location < std::size(outputNames); ++location)
        glBindFragDataLocation(program, location, outputNames[location]);
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
