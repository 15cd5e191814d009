#include "core/gl_requirements.h"

#include "core/gl_api.h"

#include <cstdio>
#include <cstring>

namespace {

const char* text(const GLubyte* string)
{
    return reinterpret_cast<const char*>(string);
}

// A desktop GL_VERSION starts "major.minor", with anything after it ("4.5 (Core Profile) Mesa
// 22.3.6", "3.3.0 NVIDIA 340.108").
bool leadingVersion(const char* version, int& major, int& minor)
{
    return version && std::sscanf(version, "%d.%d", &major, &minor) == 2;
}

bool listsFp64Extension()
{
    if (!glGetStringi)
        return false;
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const char* name = text(glGetStringi(GL_EXTENSIONS, GLuint(i)));
        if (name && std::strcmp(name, "GL_ARB_gpu_shader_fp64") == 0)
            return true;
    }
    return false;
}

}  // namespace

bool offersDoublePrecisionUniforms(const char* version, bool fp64Extension)
{
    int major = 0, minor = 0;
    return fp64Extension || (leadingVersion(version, major, minor) && major >= 4);
}

std::string missingDoublePrecisionLine(const char* version, const char* renderer)
{
    return std::string("The show needs double-precision uniforms (OpenGL 4.0 or the ARB_gpu_shader_fp64 "
                       "extension); this driver offers OpenGL ") +
           (version ? version : "of no stated version") + " on " + (renderer ? renderer : "an unnamed renderer") +
           " without them.";
}

bool checkDoublePrecisionUniforms(std::string& failure)
{
    const char* version = text(glGetString(GL_VERSION));
    if (offersDoublePrecisionUniforms(version, listsFp64Extension()))
        return true;
    failure = missingDoublePrecisionLine(version, text(glGetString(GL_RENDERER)));
    return false;
}
