#include "platform/webgl2_layer.h"

#include "core/glsl_es_dialect.h"

#include <GLES3/gl3.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// Desktop names WebGL2's headers lack.
constexpr GLenum desktopTextureRectangle = 0x84F5;
constexpr GLenum desktopClampToBorder = 0x812D;
constexpr GLenum desktopMultisample = 0x809D;
constexpr GLenum desktopSeamlessCubeMap = 0x884F;
constexpr GLenum desktopFramebufferSrgb = 0x8DB9;
constexpr GLenum desktopPrimitiveRestart = 0x8F9D;
constexpr GLenum desktopSrgbAlpha = 0x8C42;
constexpr GLenum desktopCompressedRed = 0x8225;
constexpr GLenum desktopCompressedRg = 0x8226;
constexpr GLenum desktopCompressedRgb = 0x84ED;
constexpr GLenum desktopCompressedRgba = 0x84EE;
constexpr GLenum desktopCompressedSrgb = 0x8C48;
constexpr GLenum desktopCompressedSrgbAlpha = 0x8C49;

GLenum textureTarget(GLenum target)
{
    return target == desktopTextureRectangle ? GL_TEXTURE_2D : target;
}

// --- framebuffers ----------------------------------------------------------------------------

struct Framebuffer {
    GLuint colour[8] = {};
    GLuint depthStencil = 0;
    std::vector<GLenum> drawBuffers{GL_COLOR_ATTACHMENT0};
    std::map<std::vector<GLenum>, GLuint> drawnThrough;  // by draw buffers
};

std::map<GLuint, Framebuffer> framebuffers;
GLuint boundFramebuffer = 0;  // the show's name for it
bool bindingStale = true;     // the GL's binding is not the one for boundFramebuffer

struct DepthCopy {
    GLuint copy = 0;
    GLuint readFrom = 0;  // a framebuffer holding the original
    GLuint writeTo = 0;   // and one holding the copy
    GLsizei width = 0, height = 0;
    bool stale = false;
};
std::map<GLuint, DepthCopy> depthCopies;  // by the original's name

GLuint drawFramebufferFor(Framebuffer& framebuffer)
{
    auto found = framebuffer.drawnThrough.find(framebuffer.drawBuffers);
    if (found != framebuffer.drawnThrough.end())
        return found->second;
    GLuint name = 0;
    emscripten_glGenFramebuffers(1, &name);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, name);
    std::vector<GLenum> places;
    for (size_t place = 0; place < framebuffer.drawBuffers.size(); ++place) {
        const GLenum buffer = framebuffer.drawBuffers[place];
        const GLuint image = buffer == GL_NONE ? 0 : framebuffer.colour[buffer - GL_COLOR_ATTACHMENT0];
        places.push_back(image ? GLenum(GL_COLOR_ATTACHMENT0 + place) : GL_NONE);
        if (image)
            emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, places.back(), GL_TEXTURE_2D, image, 0);
    }
    if (framebuffer.depthStencil)
        emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D,
                                          framebuffer.depthStencil, 0);
    emscripten_glDrawBuffers(GLsizei(places.size()), places.data());
    framebuffer.drawnThrough[framebuffer.drawBuffers] = name;
    return name;
}

// Before anything that reads or writes the bound framebuffer.
void bindForDrawing()
{
    if (!bindingStale)
        return;
    bindingStale = false;
    if (boundFramebuffer == 0) {
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return;
    }
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, drawFramebufferFor(framebuffers[boundFramebuffer]));
}

// A draw or clear into the bound framebuffer may change its depth and stencil.
void drawingIntoBound()
{
    bindForDrawing();
    if (boundFramebuffer == 0)
        return;
    auto copy = depthCopies.find(framebuffers[boundFramebuffer].depthStencil);
    if (copy != depthCopies.end())
        copy->second.stale = true;
}

void refreshDepthCopy(DepthCopy& copy)
{
    emscripten_glBindFramebuffer(GL_READ_FRAMEBUFFER, copy.readFrom);
    emscripten_glBindFramebuffer(GL_DRAW_FRAMEBUFFER, copy.writeTo);
    emscripten_glBlitFramebuffer(0, 0, copy.width, copy.height, 0, 0, copy.width, copy.height,
                                 GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    bindingStale = true;
    copy.stale = false;
}

void makeDepthCopy(GLuint original, GLsizei width, GLsizei height)
{
    DepthCopy copy;
    copy.width = width;
    copy.height = height;
    emscripten_glGenTextures(1, &copy.copy);
    emscripten_glBindTexture(GL_TEXTURE_2D, copy.copy);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH24_STENCIL8, width, height, 0, GL_DEPTH_STENCIL,
                            GL_UNSIGNED_INT_24_8, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    emscripten_glBindTexture(GL_TEXTURE_2D, original);
    GLuint pair[2];
    emscripten_glGenFramebuffers(2, pair);
    copy.readFrom = pair[0];
    copy.writeTo = pair[1];
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, copy.readFrom);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, original, 0);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, copy.writeTo);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, copy.copy, 0);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    bindingStale = true;
    depthCopies[original] = copy;
}

// --- textures --------------------------------------------------------------------------------

GLint unpackAlignment = 4;

// Unsized and generic compressed formats, as WebGL2's sized ones.
GLint sizedFormat(GLint internalFormat)
{
    switch (GLenum(internalFormat)) {
    case GL_RED:
    case desktopCompressedRed: return GL_R8;
    case GL_RG:
    case desktopCompressedRg: return GL_RG8;
    case GL_RGB:
    case desktopCompressedRgb: return GL_RGB8;
    case GL_RGBA:
    case desktopCompressedRgba: return GL_RGBA8;
    case GL_SRGB:
    case GL_SRGB8:
    case desktopCompressedSrgb:
    case desktopSrgbAlpha:
    case desktopCompressedSrgbAlpha: return GL_SRGB8_ALPHA8;
    default: return internalFormat;
    }
}

// Rows of 3-byte texels (at the unpack alignment) as tightly packed 4-byte ones, alpha 255.
std::vector<uint8_t> withAlpha(const uint8_t* pixels, GLsizei width, GLsizei height)
{
    const size_t rowBytes =
        (size_t(width) * 3 + size_t(unpackAlignment) - 1) / size_t(unpackAlignment) * size_t(unpackAlignment);
    std::vector<uint8_t> out(size_t(width) * size_t(height) * 4);
    for (GLsizei y = 0; y < height; ++y)
        for (GLsizei x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                out[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(c)] =
                    c == 3 ? 255 : pixels[size_t(y) * rowBytes + size_t(x) * 3 + size_t(c)];
    return out;
}

// --- programs --------------------------------------------------------------------------------

std::map<GLuint, GLenum> shaderStages;
GLuint currentProgram = 0;
bool framebufferSrgb = false;
struct EncodeSwitch {
    GLint location = -2;  // -2: not looked up yet
    bool on = false;
};
std::map<GLuint, EncodeSwitch> encodeSwitches;

// The fragment stage encodes to sRGB exactly when the desktop GL would: writing the default
// framebuffer with GL_FRAMEBUFFER_SRGB on.
void setOutputEncoding()
{
    if (!currentProgram)
        return;
    EncodeSwitch& encode = encodeSwitches[currentProgram];
    if (encode.location == -2)
        encode.location = emscripten_glGetUniformLocation(currentProgram, srgbEncodeUniform);
    const bool wanted = framebufferSrgb && boundFramebuffer == 0;
    if (encode.location >= 0 && wanted != encode.on) {
        emscripten_glUniform1i(encode.location, wanted ? 1 : 0);
        encode.on = wanted;
    }
}

void beforeDraw()
{
    drawingIntoBound();
    setOutputEncoding();
}

// --- the table's own entries -----------------------------------------------------------------

void GL_APIENTRY layerBindFramebuffer(GLenum target, GLuint framebuffer)
{
    if (target != GL_FRAMEBUFFER) {
        emscripten_glBindFramebuffer(target, framebuffer);
        bindingStale = true;
        return;
    }
    boundFramebuffer = framebuffer;
    bindingStale = true;
}

void GL_APIENTRY layerFramebufferTexture(GLenum, GLenum attachment, GLuint texture, GLint level)
{
    Framebuffer& framebuffer = framebuffers[boundFramebuffer];
    if (attachment == GL_DEPTH_STENCIL_ATTACHMENT)
        framebuffer.depthStencil = texture;
    else
        framebuffer.colour[attachment - GL_COLOR_ATTACHMENT0] = texture;
    // The show's own framebuffer holds every image too, so that its completeness can be asked.
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, boundFramebuffer);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture, level);
    for (auto& drawn : framebuffer.drawnThrough)
        emscripten_glDeleteFramebuffers(1, &drawn.second);
    framebuffer.drawnThrough.clear();
    bindingStale = true;
}

GLenum GL_APIENTRY layerCheckFramebufferStatus(GLenum target)
{
    if (boundFramebuffer == 0)
        return emscripten_glCheckFramebufferStatus(target);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, boundFramebuffer);
    bindingStale = true;
    return emscripten_glCheckFramebufferStatus(GL_FRAMEBUFFER);
}

void GL_APIENTRY layerDrawBuffers(GLsizei count, const GLenum* buffers)
{
    if (boundFramebuffer == 0) {
        emscripten_glDrawBuffers(count, buffers);
        return;
    }
    framebuffers[boundFramebuffer].drawBuffers.assign(buffers, buffers + count);
    bindingStale = true;
}

GLuint GL_APIENTRY layerCreateShader(GLenum type)
{
    const GLuint shader = emscripten_glCreateShader(type);
    shaderStages[shader] = type;
    return shader;
}

void GL_APIENTRY layerShaderSource(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths)
{
    std::string source;
    for (GLsizei i = 0; i < count; ++i)
        source.append(strings[i], lengths && lengths[i] >= 0 ? size_t(lengths[i]) : std::strlen(strings[i]));
    const std::string rewritten = toGlslEs300(source, shaderStages[shader] == GL_FRAGMENT_SHADER);
    const GLchar* text = rewritten.c_str();
    emscripten_glShaderSource(shader, 1, &text, nullptr);
}

// The rewritten fragment stages name their outputs' places themselves.
void GL_APIENTRY layerBindFragDataLocation(GLuint, GLuint, const GLchar*) {}

void GL_APIENTRY layerUseProgram(GLuint program)
{
    currentProgram = program;
    emscripten_glUseProgram(program);
}

// ES 3.0 restarts a strip at the index type's largest value, always: the show's 16-bit
// indices restart at 0xFFFF, which is that value.
void GL_APIENTRY layerPrimitiveRestartIndex(GLuint index)
{
    if (index != 0xFFFF && index != 0xFFFFFFFF)
        std::fprintf(stderr, "WebGL2 restarts primitives only at the index type's largest value, not %u.\n", index);
}

// Double precision, as single precision: WebGL2 has no other.
void GL_APIENTRY layerUniform1d(GLint location, double x)
{
    emscripten_glUniform1f(location, GLfloat(x));
}
void GL_APIENTRY layerUniform2d(GLint location, double x, double y)
{
    emscripten_glUniform2f(location, GLfloat(x), GLfloat(y));
}
void GL_APIENTRY layerUniform3d(GLint location, double x, double y, double z)
{
    emscripten_glUniform3f(location, GLfloat(x), GLfloat(y), GLfloat(z));
}
void GL_APIENTRY layerUniform4d(GLint location, double x, double y, double z, double w)
{
    emscripten_glUniform4f(location, GLfloat(x), GLfloat(y), GLfloat(z), GLfloat(w));
}
std::vector<GLfloat> narrowed(const double* values, size_t count)
{
    return std::vector<GLfloat>(values, values + count);
}
void GL_APIENTRY layerUniform2dv(GLint location, GLsizei count, const double* v)
{
    emscripten_glUniform2fv(location, count, narrowed(v, size_t(count) * 2).data());
}
void GL_APIENTRY layerUniform3dv(GLint location, GLsizei count, const double* v)
{
    emscripten_glUniform3fv(location, count, narrowed(v, size_t(count) * 3).data());
}
void GL_APIENTRY layerUniform4dv(GLint location, GLsizei count, const double* v)
{
    emscripten_glUniform4fv(location, count, narrowed(v, size_t(count) * 4).data());
}
void GL_APIENTRY layerUniformMatrix4dv(GLint location, GLsizei count, GLboolean transpose, const double* v)
{
    emscripten_glUniformMatrix4fv(location, count, transpose, narrowed(v, size_t(count) * 16).data());
}

// Where WebGL2 has nothing like a table entry; the show never calls these.
void unavailableEntry()
{
    std::fputs("An OpenGL function WebGL2 does not have was called.\n", stderr);
    std::abort();
}

struct LayerEntry {
    const char* name;
    void* function;
};

template <typename F> void* entry(F function)
{
    return reinterpret_cast<void*>(function);
}

const LayerEntry layerEntries[] = {
    {"glBindFramebuffer", entry(layerBindFramebuffer)},
    {"glFramebufferTexture", entry(layerFramebufferTexture)},
    {"glCheckFramebufferStatus", entry(layerCheckFramebufferStatus)},
    {"glDrawBuffers", entry(layerDrawBuffers)},
    {"glCreateShader", entry(layerCreateShader)},
    {"glShaderSource", entry(layerShaderSource)},
    {"glBindFragDataLocation", entry(layerBindFragDataLocation)},
    {"glUseProgram", entry(layerUseProgram)},
    {"glPrimitiveRestartIndex", entry(layerPrimitiveRestartIndex)},
    {"glUniform1d", entry(layerUniform1d)},
    {"glUniform2d", entry(layerUniform2d)},
    {"glUniform3d", entry(layerUniform3d)},
    {"glUniform4d", entry(layerUniform4d)},
    {"glUniform2dv", entry(layerUniform2dv)},
    {"glUniform3dv", entry(layerUniform3dv)},
    {"glUniform4dv", entry(layerUniform4dv)},
    {"glUniformMatrix4dv", entry(layerUniformMatrix4dv)},
};

// The browser's own, for every other table entry WebGL2 has. (emscripten's lookup by name
// would bring in its C GL functions, whose names the table's slots already hold.)
const LayerEntry browserEntries[] = {
    {"glActiveTexture", entry(emscripten_glActiveTexture)},
    {"glBlendColor", entry(emscripten_glBlendColor)},
    {"glBindBuffer", entry(emscripten_glBindBuffer)},
    {"glDeleteBuffers", entry(emscripten_glDeleteBuffers)},
    {"glGenBuffers", entry(emscripten_glGenBuffers)},
    {"glBufferData", entry(emscripten_glBufferData)},
    {"glBufferSubData", entry(emscripten_glBufferSubData)},
    {"glBlendEquationSeparate", entry(emscripten_glBlendEquationSeparate)},
    {"glAttachShader", entry(emscripten_glAttachShader)},
    {"glCompileShader", entry(emscripten_glCompileShader)},
    {"glCreateProgram", entry(emscripten_glCreateProgram)},
    {"glCreateShader", entry(emscripten_glCreateShader)},
    {"glDeleteProgram", entry(emscripten_glDeleteProgram)},
    {"glDeleteShader", entry(emscripten_glDeleteShader)},
    {"glGetProgramiv", entry(emscripten_glGetProgramiv)},
    {"glGetShaderiv", entry(emscripten_glGetShaderiv)},
    {"glGetUniformLocation", entry(emscripten_glGetUniformLocation)},
    {"glLinkProgram", entry(emscripten_glLinkProgram)},
    {"glShaderSource", entry(emscripten_glShaderSource)},
    {"glUseProgram", entry(emscripten_glUseProgram)},
    {"glUniform1f", entry(emscripten_glUniform1f)},
    {"glUniform2f", entry(emscripten_glUniform2f)},
    {"glUniform3f", entry(emscripten_glUniform3f)},
    {"glUniform4f", entry(emscripten_glUniform4f)},
    {"glUniform1i", entry(emscripten_glUniform1i)},
    {"glUniform1ui", entry(emscripten_glUniform1ui)},
    {"glUniform1fv", entry(emscripten_glUniform1fv)},
    {"glUniform2fv", entry(emscripten_glUniform2fv)},
    {"glUniform3fv", entry(emscripten_glUniform3fv)},
    {"glUniform4fv", entry(emscripten_glUniform4fv)},
    {"glUniformMatrix4fv", entry(emscripten_glUniformMatrix4fv)},
    {"glGenFramebuffers", entry(emscripten_glGenFramebuffers)},
    {"glBindFramebuffer", entry(emscripten_glBindFramebuffer)},
    {"glBindRenderbuffer", entry(emscripten_glBindRenderbuffer)},
    {"glGenRenderbuffers", entry(emscripten_glGenRenderbuffers)},
    {"glRenderbufferStorage", entry(emscripten_glRenderbufferStorage)},
    {"glFramebufferTexture2D", entry(emscripten_glFramebufferTexture2D)},
    {"glDrawBuffers", entry(emscripten_glDrawBuffers)},
    {"glEnableVertexAttribArray", entry(emscripten_glEnableVertexAttribArray)},
    {"glDisableVertexAttribArray", entry(emscripten_glDisableVertexAttribArray)},
    {"glVertexAttribPointer", entry(emscripten_glVertexAttribPointer)},
    {"glVertexAttribIPointer", entry(emscripten_glVertexAttribIPointer)},
    {"glBindAttribLocation", entry(emscripten_glBindAttribLocation)},
    {"glCheckFramebufferStatus", entry(emscripten_glCheckFramebufferStatus)},
    {"glGetShaderInfoLog", entry(emscripten_glGetShaderInfoLog)},
    {"glGetProgramInfoLog", entry(emscripten_glGetProgramInfoLog)},
    {"glBindVertexArray", entry(emscripten_glBindVertexArray)},
    {"glDeleteVertexArrays", entry(emscripten_glDeleteVertexArrays)},
    {"glGenVertexArrays", entry(emscripten_glGenVertexArrays)},
    {"glBlendFuncSeparate", entry(emscripten_glBlendFuncSeparate)},
    {"glGetAttribLocation", entry(emscripten_glGetAttribLocation)},
    {"glGenerateMipmap", entry(emscripten_glGenerateMipmap)},
    {"glBeginTransformFeedback", entry(emscripten_glBeginTransformFeedback)},
    {"glEndTransformFeedback", entry(emscripten_glEndTransformFeedback)},
    {"glTransformFeedbackVaryings", entry(emscripten_glTransformFeedbackVaryings)},
    {"glFramebufferRenderbuffer", entry(emscripten_glFramebufferRenderbuffer)},
    {"glBindBufferBase", entry(emscripten_glBindBufferBase)},
    {"glBeginQuery", entry(emscripten_glBeginQuery)},
    {"glEndQuery", entry(emscripten_glEndQuery)},
    {"glGetTransformFeedbackVarying", entry(emscripten_glGetTransformFeedbackVarying)},
    {"glGetQueryObjectuiv", entry(emscripten_glGetQueryObjectuiv)},
    {"glGenQueries", entry(emscripten_glGenQueries)},
    {"glBindBufferRange", entry(emscripten_glBindBufferRange)},
    {"glDeleteFramebuffers", entry(emscripten_glDeleteFramebuffers)},
    {"glBlitFramebuffer", entry(emscripten_glBlitFramebuffer)},
};

// Capabilities WebGL2 has no switch for: multisampling and seamless cube maps are off and on
// for good, and primitive restart is always on at the largest index.
bool isDesktopOnly(GLenum capability)
{
    return capability == desktopMultisample || capability == desktopSeamlessCubeMap ||
           capability == desktopPrimitiveRestart;
}

}  // namespace

void* webgl2ProcAddress(const char* name)
{
    for (const LayerEntry& layer : layerEntries)
        if (std::strcmp(layer.name, name) == 0)
            return layer.function;
    for (const LayerEntry& browser : browserEntries)
        if (std::strcmp(browser.name, name) == 0)
            return browser.function;
    if (std::strcmp(name, "glGetStringi") == 0)
        return entry(emscripten_glGetStringi);
    return reinterpret_cast<void*>(unavailableEntry);
}

// --- OpenGL 1.1, called straight by the show ---------------------------------------------------

extern "C" {

void glBindTexture(GLenum target, GLuint texture)
{
    target = textureTarget(target);
    if (target == GL_TEXTURE_2D) {
        auto copy = depthCopies.find(texture);
        if (copy != depthCopies.end()) {
            if (copy->second.stale)
                refreshDepthCopy(copy->second);
            emscripten_glBindTexture(target, copy->second.copy);
            return;
        }
    }
    emscripten_glBindTexture(target, texture);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels)
{
    target = textureTarget(target);
    internalFormat = sizedFormat(internalFormat);
    // Render targets are allocated without pixels, where the type only has to suit the format.
    if (!pixels && type == GL_FLOAT &&
        (internalFormat == GL_RGBA8 || internalFormat == GL_SRGB8_ALPHA8 || internalFormat == GL_RGB8))
        type = GL_UNSIGNED_BYTE;
    if (internalFormat == GL_SRGB8_ALPHA8 && format == GL_RGB && pixels) {
        const std::vector<uint8_t> rgba = withAlpha(static_cast<const uint8_t*>(pixels), width, height);
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        emscripten_glTexImage2D(target, level, internalFormat, width, height, border, GL_RGBA, type, rgba.data());
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
        return;
    }
    if (internalFormat == GL_SRGB8_ALPHA8 && format == GL_RGB)
        format = GL_RGBA;
    emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
    if (internalFormat == GL_DEPTH24_STENCIL8 && target == GL_TEXTURE_2D && level == 0) {
        GLint bound = 0;
        emscripten_glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        if (depthCopies.find(GLuint(bound)) == depthCopies.end())
            makeDepthCopy(GLuint(bound), width, height);
    }
}

void glTexParameteri(GLenum target, GLenum name, GLint value)
{
    if (value == GLint(desktopClampToBorder))
        value = GL_CLAMP_TO_EDGE;
    emscripten_glTexParameteri(textureTarget(target), name, value);
}

void glTexParameterf(GLenum target, GLenum name, GLfloat value)
{
    emscripten_glTexParameterf(textureTarget(target), name, value);
}

void glPixelStorei(GLenum name, GLint value)
{
    if (name == GL_UNPACK_ALIGNMENT)
        unpackAlignment = value;
    emscripten_glPixelStorei(name, value);
}

void glEnable(GLenum capability)
{
    if (capability == desktopFramebufferSrgb)
        framebufferSrgb = true;
    else if (!isDesktopOnly(capability))
        emscripten_glEnable(capability);
}

void glDisable(GLenum capability)
{
    if (capability == desktopFramebufferSrgb)
        framebufferSrgb = false;
    else if (!isDesktopOnly(capability))
        emscripten_glDisable(capability);
}

void glClear(GLbitfield mask)
{
    drawingIntoBound();
    emscripten_glClear(mask);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    beforeDraw();
    emscripten_glDrawArrays(mode, first, count);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    beforeDraw();
    emscripten_glDrawElements(mode, count, type, indices);
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)
{
    bindForDrawing();
    emscripten_glReadPixels(x, y, width, height, format, type, pixels);
}

}  // extern "C"
