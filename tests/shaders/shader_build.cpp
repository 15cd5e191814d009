#include "shaders/shader_build.h"

#include "core/gl_api.h"
#include "core/glsl_include.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

bool readStage(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return true;
}

uint32_t compileStage(const std::string& name, GLenum type, std::string& log)
{
    std::string path = "shaders/" + name + (type == GL_VERTEX_SHADER ? ".vs" : ".fs");
    std::string text;
    if (!readStage(path, text)) {
        log = "cannot read " + path;
        return 0;
    }
    const ExpandedGlsl expanded = expandGlslIncludes(text, path, "shaders");
    if (!expanded.error.empty()) {
        log = expanded.error;
        return 0;
    }
    GLuint shader = glCreateShader(type);
    const GLchar* source = expanded.text.c_str();
    GLint length = GLint(expanded.text.size());
    glShaderSource(shader, 1, &source, &length);
    glCompileShader(shader);
    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE)
        return shader;
    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<GLchar> buffer(size_t(logLength) + 1, 0);
    glGetShaderInfoLog(shader, logLength, nullptr, buffer.data());
    log = path + ": " + buffer.data();
    glDeleteShader(shader);
    return 0;
}

}  // namespace

BuiltProgram buildProgram(const std::string& vertexStage, const std::string& fragmentStage)
{
    BuiltProgram built;
    GLuint vertex = compileStage(vertexStage, GL_VERTEX_SHADER, built.log);
    if (!vertex)
        return built;
    GLuint fragment = compileStage(fragmentStage, GL_FRAGMENT_SHADER, built.log);
    if (!fragment) {
        glDeleteShader(vertex);
        return built;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    const char* attributes[] = {"A0", "A1", "A2", "A3", "A4"};
    const char* outputs[] = {"O0", "O1", "O2", "O3"};
    for (GLuint i = 0; i < 5; ++i)
        glBindAttribLocation(program, i, attributes[i]);
    for (GLuint i = 0; i < 4; ++i)
        glBindFragDataLocation(program, i, outputs[i]);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        GLint logLength = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &logLength);
        std::vector<GLchar> buffer(size_t(logLength) + 1, 0);
        glGetProgramInfoLog(program, logLength, nullptr, buffer.data());
        built.log = vertexStage + "/" + fragmentStage + ": " + buffer.data();
        glDeleteProgram(program);
        return built;
    }
    built.program = program;
    return built;
}
