#pragma once
// The .3d model format, parsed and expanded without OpenGL: everything `Model::load` does
// before its upload. Layout (little-endian, unpadded):
//   u8 flags, u16 vertex count N,
//   [6 x f32 dequantisation: scale xyz, offset xyz]   unless FloatPositions
//   [u16 group count G]                               if HasGroupCount, else G = 1
//   [N x (3 x u16 | 3 x f32) positions]               unless a NoPositions bit is set
//   G x { u16 triangle count T, T x triangle record }
// A triangle record is three u16 vertex indices, or with Textured (index, u, v) per corner.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ModelFlags {
constexpr uint8_t NoPositions = 0x03;
constexpr uint8_t FloatPositions = 0x04;
constexpr uint8_t HasGroupCount = 0x08;
constexpr uint8_t Textured = 0x10;
}

// One triangle record with its face frame. Vectors are unit length, or all zero where the
// frame is undefined (a triangle of zero area; texture coordinates on one line).
struct ModelTriangle {
    float normal[3];
    float bitangent[3];  // along du1*e2 - du2*e1; zero for a plain model
    float tangent[3];    // along dv2*e1 - dv1*e2; zero for a plain model
    uint16_t index[3];   // vertex indices of corners 0, 1, 2 as stored
    uint16_t uv[6];      // u0 v0 u1 v1 u2 v2 as stored; all 0xFFFF for a plain model
};

using ModelGroup = std::vector<ModelTriangle>;

// A parsed file: positions dequantised to model units, triangles in file order.
struct ParsedModel {
    uint8_t flags = 0;
    uint16_t vertexCount = 0;
    std::vector<float> positions;  // three per vertex
    std::vector<ModelGroup> groups;

    bool textured() const { return (flags & ModelFlags::Textured) != 0; }
};

// Floats per vertex of the interleaved stream: position, normal (plain); position, uv,
// normal, bitangent, tangent (textured).
constexpr int plainVertexFloats = 6;
constexpr int texturedVertexFloats = 14;

// Most triangles a file may hold in all its groups together. The format allows 65535 groups
// of 65535, and a file's size bounds what it can describe (6 bytes a plain triangle, 18 a
// textured one), but a triangle takes up to some 500 bytes while the parser and the stream
// builder expand it, so a large file could still exhaust memory. This keeps one model's work
// within about half a GiB, a quarter of that in a 32-bit process. The show's largest model has
// under 30 thousand.
constexpr size_t maxModelTriangles = sizeof(void*) >= 8 ? size_t(1) << 20 : size_t(1) << 18;

// Parses a whole file image. On failure returns false, leaves `model` empty and puts the
// reason (one phrase, no file name) in `error`. Never reads outside [bytes, bytes + size), and
// sets memory aside only for counts that the bytes of the file hold and maxModelTriangles
// allows.
bool parseModelFile(const uint8_t* bytes, size_t size, ParsedModel& model, std::string& error);

// The interleaved, non-indexed triangle list: per corner the position and the normal (and for
// textured models uv / 65535, the bitangent and the tangent), each frame vector the sum of
// the unit face frames of the triangles of the same group that share the corner's vertex.
std::vector<float> buildVertexStream(const ParsedModel& model);
