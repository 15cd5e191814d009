#pragma once
// Writing .3d model files (the counterpart of model_file.h), for the content tools and tests.
#include <cstdint>
#include <string>
#include <vector>

struct ModelSourceTriangle {
    uint16_t index[3];
    uint16_t uv[6] = {0, 0, 0, 0, 0, 0};  // u0 v0 u1 v1 u2 v2, 0 to 65535; textured models only
};

// A mesh as the file stores it: vertices, and triangles in groups. Groups are smoothing
// groups: normals are averaged only over triangles of the same group sharing a vertex index.
struct ModelSource {
    bool textured = false;
    std::vector<float> positions;  // three per vertex, model units
    std::vector<std::vector<ModelSourceTriangle>> groups;
};

enum class PositionEncoding {
    Quantised,  // 16 bits per axis over the bounding box: 1/65535 of its size
    Float,      // exact single precision
};

// Encodes `source`. The group count field is written only when there is not exactly one
// group. False, with the reason in `error`, when the mesh exceeds the format's limits (65535
// vertices, groups, triangles per group), an index is out of range or a position is not
// finite.
bool encodeModelFile(const ModelSource& source, PositionEncoding encoding, std::vector<uint8_t>& bytes,
                     std::string& error);

// Largest distance between a position and its quantised value for this mesh, per axis the
// box size / 65535 / 2 (plus rounding of the float arithmetic).
float quantisationError(const ModelSource& source);
