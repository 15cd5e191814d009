#include "core/gl_error_check.h"

#include "core/gl_api.h"

#include <cstdio>
#include <cstdlib>

const char* glErrorName(unsigned int error)
{
    switch (error) {
    case GL_NO_ERROR: return "GL_NO_ERROR";
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    default: return "an unknown GL error";
    }
}

void abortOnGLError(const char* call)
{
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return;
    std::fprintf(stderr, "GL error %s (0x%04X) after %s\n", glErrorName(error), error, call);
    std::fflush(stderr);
    std::abort();
}
