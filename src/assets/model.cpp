#include "assets/model.h"

#include "core/gl_api.h"
#include "core/load_whole_file.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <new>
#include <string>

uint32_t uploadVertexStream(const std::vector<float>& stream, bool textured, uint32_t& vertexArray,
                            uint32_t& vertexBuffer)
{
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    int floatsPerTriangle = 3 * (textured ? texturedVertexFloats : plainVertexFloats);
    uint32_t triangleCount = uint32_t(stream.size() / size_t(floatsPerTriangle));
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(stream.size() * sizeof(float)), stream.data(), GL_STATIC_DRAW);

    struct Attribute {
        GLuint location;
        GLint size;
        size_t offset;  // bytes
    };
    static const Attribute plain[] = {{0, 3, 0}, {2, 3, 12}};
    static const Attribute texturedLayout[] = {{0, 3, 0}, {1, 2, 12}, {2, 3, 20}, {3, 3, 32}, {4, 3, 44}};
    GLsizei stride = textured ? 56 : 24;
    const Attribute* begin = textured ? texturedLayout : plain;
    const Attribute* end = textured ? std::end(texturedLayout) : std::end(plain);
    for (const Attribute* a = begin; a != end; ++a) {
        glVertexAttribPointer(a->location, a->size, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(a->offset));
        glEnableVertexAttribArray(a->location);
    }
    return triangleCount;
}

bool Model::load(const char* filename)
{
    size_t size = 0;
    uint8_t* bytes = loadWholeFile(filename, &size);
    if (!bytes)
        return false;
    ParsedModel parsed;
    std::string error;
    std::vector<float> stream;
    bool parsedOk = false;
    bool outOfMemory = false;
    // The parser bounds what a file may ask for, but memory can still run out (a 32-bit
    // process, a busy machine): that refuses this file as any other fault would, rather than
    // ending the show. Nothing in the handler allocates.
    try {
        parsedOk = parseModelFile(bytes, size, parsed, error);
        if (parsedOk)
            stream = buildVertexStream(parsed);
    } catch (const std::bad_alloc&) {
        parsedOk = false;
        outOfMemory = true;
    }
    std::free(bytes);
    if (!parsedOk) {
        std::fprintf(stderr, "Model file error: %s: %s\n", filename,
                     outOfMemory ? "not enough memory for the model" : error.c_str());
        return false;
    }
    triangleCount = uploadVertexStream(stream, parsed.textured(), vertexArray, vertexBuffer);
    groups = std::move(parsed.groups);
    return true;
}

void Model::draw() const
{
    // A model that never loaded has no vertex array, and a core context refuses a draw without
    // one (GL_INVALID_OPERATION), even of no vertices.
    if (triangleCount == 0)
        return;
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(3 * triangleCount));
}
