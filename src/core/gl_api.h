#pragma once
// The OpenGL entry points of the show.
//
// The platform's GL library exports only OpenGL 1.1. Everything later is fetched once, by
// name, into the table below while the context is created; every subsystem then calls those
// functions under their usual names. The table lists 83 entries in load order: loading stops at
// the first one the driver lacks (a driver without the double-precision uniforms of GL 4.0 /
// ARB_gpu_shader_fp64 fails here), and there is no fallback to suffixed extension names.
//
// Include this header instead of any system GL header: it brings the standard types, enums and
// PFN typedefs from <GL/glcorearb.h> without its prototypes.
//
// The GL-checking build (SHOW_GL_CHECK defined, the linux-glcheck preset) follows every call
// below, table and OpenGL 1.1 alike, with a glGetError check that names the call and aborts on
// an error (core/gl_error_check.h). glGetError itself is never wrapped. Shipping builds call
// the driver directly and never ask for errors.

#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall  // keeps <GL/glcorearb.h> from pulling in <windows.h>
#endif
#include <GL/glcorearb.h>

// The table, in load order: X(pointer type, function name).
#define SHOW_GL_ENTRY_POINTS(X) \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture) \
    X(PFNGLBLENDCOLORPROC, glBlendColor) \
    X(PFNGLMULTIDRAWARRAYSPROC, glMultiDrawArrays) \
    X(PFNGLMULTIDRAWELEMENTSPROC, glMultiDrawElements) \
    X(PFNGLBINDBUFFERPROC, glBindBuffer) \
    X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers) \
    X(PFNGLGENBUFFERSPROC, glGenBuffers) \
    X(PFNGLBUFFERDATAPROC, glBufferData) \
    X(PFNGLBUFFERSUBDATAPROC, glBufferSubData) \
    X(PFNGLBLENDEQUATIONSEPARATEPROC, glBlendEquationSeparate) \
    X(PFNGLATTACHSHADERPROC, glAttachShader) \
    X(PFNGLCOMPILESHADERPROC, glCompileShader) \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram) \
    X(PFNGLCREATESHADERPROC, glCreateShader) \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram) \
    X(PFNGLDELETESHADERPROC, glDeleteShader) \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv) \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv) \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation) \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram) \
    X(PFNGLSHADERSOURCEPROC, glShaderSource) \
    X(PFNGLUSEPROGRAMPROC, glUseProgram) \
    X(PFNGLUNIFORM1FPROC, glUniform1f) \
    X(PFNGLUNIFORM1DPROC, glUniform1d) \
    X(PFNGLUNIFORM2FPROC, glUniform2f) \
    X(PFNGLUNIFORM2DPROC, glUniform2d) \
    X(PFNGLUNIFORM3FPROC, glUniform3f) \
    X(PFNGLUNIFORM3DPROC, glUniform3d) \
    X(PFNGLUNIFORM4FPROC, glUniform4f) \
    X(PFNGLUNIFORM4DPROC, glUniform4d) \
    X(PFNGLUNIFORM1IPROC, glUniform1i) \
    X(PFNGLUNIFORM1UIPROC, glUniform1ui) \
    X(PFNGLUNIFORM1FVPROC, glUniform1fv) \
    X(PFNGLUNIFORM2FVPROC, glUniform2fv) \
    X(PFNGLUNIFORM2DVPROC, glUniform2dv) \
    X(PFNGLUNIFORM3FVPROC, glUniform3fv) \
    X(PFNGLUNIFORM3DVPROC, glUniform3dv) \
    X(PFNGLUNIFORM4FVPROC, glUniform4fv) \
    X(PFNGLUNIFORM4DVPROC, glUniform4dv) \
    X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv) \
    X(PFNGLUNIFORMMATRIX4DVPROC, glUniformMatrix4dv) \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers) \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer) \
    X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer) \
    X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers) \
    X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage) \
    X(PFNGLFRAMEBUFFERTEXTUREPROC, glFramebufferTexture) \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D) \
    X(PFNGLDRAWBUFFERSPROC, glDrawBuffers) \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray) \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, glDisableVertexAttribArray) \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer) \
    X(PFNGLVERTEXATTRIBIPOINTERPROC, glVertexAttribIPointer) \
    X(PFNGLBINDATTRIBLOCATIONPROC, glBindAttribLocation) \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus) \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog) \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog) \
    X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray) \
    X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays) \
    X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays) \
    X(PFNGLMAPBUFFERPROC, glMapBuffer) \
    X(PFNGLUNMAPBUFFERPROC, glUnmapBuffer) \
    X(PFNGLBLENDFUNCSEPARATEPROC, glBlendFuncSeparate) \
    X(PFNGLGETATTRIBLOCATIONPROC, glGetAttribLocation) \
    X(PFNGLGENERATEMIPMAPPROC, glGenerateMipmap) \
    X(PFNGLENABLEIPROC, glEnablei) \
    X(PFNGLDISABLEIPROC, glDisablei) \
    X(PFNGLBEGINTRANSFORMFEEDBACKPROC, glBeginTransformFeedback) \
    X(PFNGLENDTRANSFORMFEEDBACKPROC, glEndTransformFeedback) \
    X(PFNGLTRANSFORMFEEDBACKVARYINGSPROC, glTransformFeedbackVaryings) \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer) \
    X(PFNGLBINDFRAGDATALOCATIONPROC, glBindFragDataLocation) \
    X(PFNGLBINDBUFFERBASEPROC, glBindBufferBase) \
    X(PFNGLBEGINQUERYPROC, glBeginQuery) \
    X(PFNGLENDQUERYPROC, glEndQuery) \
    X(PFNGLGETTRANSFORMFEEDBACKVARYINGPROC, glGetTransformFeedbackVarying) \
    X(PFNGLGETQUERYOBJECTUIVPROC, glGetQueryObjectuiv) \
    X(PFNGLGENQUERIESPROC, glGenQueries) \
    X(PFNGLBINDBUFFERRANGEPROC, glBindBufferRange) \
    X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers) \
    X(PFNGLTEXBUFFERPROC, glTexBuffer) \
    X(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer) \
    X(PFNGLPRIMITIVERESTARTINDEXPROC, glPrimitiveRestartIndex)

#define SHOW_GL_DECLARE_ENTRY(type, name) extern type name;
SHOW_GL_ENTRY_POINTS(SHOW_GL_DECLARE_ENTRY)
#undef SHOW_GL_DECLARE_ENTRY

constexpr int glEntryPointCount = 83;

// Looks a GL function up by name; null when the driver has none. Each platform supplies one
// (wglGetProcAddress, SDL_GL_GetProcAddress, eglGetProcAddress).
using GLProcLoader = void* (*)(const char* name);

// Fills the table in order through `load`; false at the first missing entry, leaving the
// entries after it empty. Called once, with the new context current (some drivers hand out
// addresses that serve only the context current at the lookup). Also fetches glGetStringi,
// outside the table, for the driver check of core/gl_requirements.h.
bool loadGLEntryPoints(GLProcLoader load);

// The name of the entry the last loadGLEntryPoints stopped at; null when it found them all.
const char* firstMissingGLEntryPoint();

// OpenGL 3.0, so any 3.3 context has it; not in the table, and its absence fails nothing: the
// driver check reads the extension list through it, and only that check calls it.
extern PFNGLGETSTRINGIPROC glGetStringi;

// The state the show's context starts with, once it is current: no dithering and no
// multisampling (every pass expects exact values), and seamless filtering across cube faces.
void applyContextDefaults();

// OpenGL 1.1, called straight from the platform's GL library (opengl32 on Windows, libOpenGL
// on Linux). The first group is what the show draws with; the second serves uploads with odd
// row lengths, and the tests and tools that read pixels and state back.
extern "C" {
void APIENTRY glBindTexture(GLenum target, GLuint texture);
void APIENTRY glBlendFunc(GLenum sfactor, GLenum dfactor);
void APIENTRY glClear(GLbitfield mask);
void APIENTRY glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void APIENTRY glClearStencil(GLint s);
void APIENTRY glDeleteTextures(GLsizei n, const GLuint* textures);
void APIENTRY glDepthFunc(GLenum func);
void APIENTRY glDepthMask(GLboolean flag);
void APIENTRY glDisable(GLenum cap);
void APIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count);
void APIENTRY glDrawBuffer(GLenum buf);
void APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void APIENTRY glEnable(GLenum cap);
void APIENTRY glGenTextures(GLsizei n, GLuint* textures);
void APIENTRY glGetFloatv(GLenum pname, GLfloat* data);
void APIENTRY glScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void APIENTRY glStencilFunc(GLenum func, GLint ref, GLuint mask);
void APIENTRY glStencilOp(GLenum fail, GLenum zfail, GLenum zpass);
void APIENTRY glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                           GLint border, GLenum format, GLenum type, const void* pixels);
void APIENTRY glTexParameterf(GLenum target, GLenum pname, GLfloat param);
void APIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param);
void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height);

void APIENTRY glPixelStorei(GLenum pname, GLint param);
void APIENTRY glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
void APIENTRY glGetIntegerv(GLenum pname, GLint* data);
void APIENTRY glGetBooleanv(GLenum pname, GLboolean* data);
GLboolean APIENTRY glIsEnabled(GLenum cap);
void APIENTRY glGetTexImage(GLenum target, GLint level, GLenum format, GLenum type, void* pixels);
void APIENTRY glGetTexParameteriv(GLenum target, GLenum pname, GLint* params);
void APIENTRY glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params);
const GLubyte* APIENTRY glGetString(GLenum name);
GLenum APIENTRY glGetError(void);
void APIENTRY glFinish(void);
}

#if defined(SHOW_GL_CHECK)
#include "core/gl_error_check.h"

#include <type_traits>

// One checked GL function: calls it, then checks for an error under its name. The table's
// slots hold instances of this around the driver's functions (core/gl_api.cpp); the OpenGL 1.1
// functions get theirs from the macros below, at each call site.
template <typename F> struct CheckedGL;

template <typename R, typename... A> struct CheckedGL<R(APIENTRY*)(A...)> {
    const char* name;
    R(APIENTRY* function)(A...);

    R operator()(A... arguments) const
    {
        if constexpr (std::is_void_v<R>) {
            function(arguments...);
            abortOnGLError(name);
        } else {
            R result = function(arguments...);
            abortOnGLError(name);
            return result;
        }
    }
};

// A macro's own name is not expanded again inside it, so `&name` below is the real function.
#define SHOW_CHECKED_GL(name) (CheckedGL<decltype(&(name))>{#name, &(name)})

#define glBindTexture(...) SHOW_CHECKED_GL(glBindTexture)(__VA_ARGS__)
#define glBlendFunc(...) SHOW_CHECKED_GL(glBlendFunc)(__VA_ARGS__)
#define glClear(...) SHOW_CHECKED_GL(glClear)(__VA_ARGS__)
#define glClearColor(...) SHOW_CHECKED_GL(glClearColor)(__VA_ARGS__)
#define glClearStencil(...) SHOW_CHECKED_GL(glClearStencil)(__VA_ARGS__)
#define glDeleteTextures(...) SHOW_CHECKED_GL(glDeleteTextures)(__VA_ARGS__)
#define glDepthFunc(...) SHOW_CHECKED_GL(glDepthFunc)(__VA_ARGS__)
#define glDepthMask(...) SHOW_CHECKED_GL(glDepthMask)(__VA_ARGS__)
#define glDisable(...) SHOW_CHECKED_GL(glDisable)(__VA_ARGS__)
#define glDrawArrays(...) SHOW_CHECKED_GL(glDrawArrays)(__VA_ARGS__)
#define glDrawBuffer(...) SHOW_CHECKED_GL(glDrawBuffer)(__VA_ARGS__)
#define glDrawElements(...) SHOW_CHECKED_GL(glDrawElements)(__VA_ARGS__)
#define glEnable(...) SHOW_CHECKED_GL(glEnable)(__VA_ARGS__)
#define glGenTextures(...) SHOW_CHECKED_GL(glGenTextures)(__VA_ARGS__)
#define glGetFloatv(...) SHOW_CHECKED_GL(glGetFloatv)(__VA_ARGS__)
#define glScissor(...) SHOW_CHECKED_GL(glScissor)(__VA_ARGS__)
#define glStencilFunc(...) SHOW_CHECKED_GL(glStencilFunc)(__VA_ARGS__)
#define glStencilOp(...) SHOW_CHECKED_GL(glStencilOp)(__VA_ARGS__)
#define glTexImage2D(...) SHOW_CHECKED_GL(glTexImage2D)(__VA_ARGS__)
#define glTexParameterf(...) SHOW_CHECKED_GL(glTexParameterf)(__VA_ARGS__)
#define glTexParameteri(...) SHOW_CHECKED_GL(glTexParameteri)(__VA_ARGS__)
#define glViewport(...) SHOW_CHECKED_GL(glViewport)(__VA_ARGS__)
#define glPixelStorei(...) SHOW_CHECKED_GL(glPixelStorei)(__VA_ARGS__)
#define glReadPixels(...) SHOW_CHECKED_GL(glReadPixels)(__VA_ARGS__)
#define glGetIntegerv(...) SHOW_CHECKED_GL(glGetIntegerv)(__VA_ARGS__)
#define glGetBooleanv(...) SHOW_CHECKED_GL(glGetBooleanv)(__VA_ARGS__)
#define glIsEnabled(...) SHOW_CHECKED_GL(glIsEnabled)(__VA_ARGS__)
#define glGetTexImage(...) SHOW_CHECKED_GL(glGetTexImage)(__VA_ARGS__)
#define glGetTexParameteriv(...) SHOW_CHECKED_GL(glGetTexParameteriv)(__VA_ARGS__)
#define glGetTexLevelParameteriv(...) SHOW_CHECKED_GL(glGetTexLevelParameteriv)(__VA_ARGS__)
#define glGetString(...) SHOW_CHECKED_GL(glGetString)(__VA_ARGS__)
#define glFinish() SHOW_CHECKED_GL(glFinish)()
#endif
