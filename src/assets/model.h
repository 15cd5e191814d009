#pragma once
// A static mesh from a .3d file, uploaded once as an interleaved, non-indexed triangle list
// and drawn with one call. Vertex layout (all GL_FLOAT):
//   plain, stride 24:    location 0 position, location 2 smoothed normal
//   textured, stride 56: location 0 position, 1 uv, 2 normal, 3 bitangent, 4 tangent
#include "assets/model_file.h"

#include <cstdint>
#include <vector>

class Model {
public:
    using Triangle = ModelTriangle;

    uint32_t triangleCount = 0;  // all groups together; 0 until a load succeeds
    uint32_t vertexBuffer = 0;
    uint32_t vertexArray = 0;
    std::vector<std::vector<Triangle>> groups;  // kept after loading; drawing does not use it

    // Reads, smooths and uploads the file (a path relative to the working directory). False,
    // with the model left as it was, when the file cannot be opened (silently) or is malformed
    // (one line on stderr naming the file and the reason). Needs a current GL context. Leaves
    // the model's vertex array bound.
    bool load(const char* filename);

    // Binds the vertex array and buffer and draws 3 x triangleCount vertices. Sets no program,
    // uniform or texture: the caller has.
    void draw() const;
};

// Uploads an interleaved stream (see above) into a new vertex array and buffer and returns
// the triangle count. The vertex array stays bound.
uint32_t uploadVertexStream(const std::vector<float>& stream, bool textured, uint32_t& vertexArray,
                            uint32_t& vertexBuffer);
