#include "assets/model_writer.h"

#include "assets/model_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void putU8(std::vector<uint8_t>& bytes, uint8_t value)
{
    bytes.push_back(value);
}

void putU16(std::vector<uint8_t>& bytes, uint16_t value)
{
    bytes.push_back(uint8_t(value & 0xFF));
    bytes.push_back(uint8_t(value >> 8));
}

void putF32(std::vector<uint8_t>& bytes, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(uint8_t(bits >> shift));
}

struct Box {
    float low[3] = {0, 0, 0};
    float high[3] = {0, 0, 0};
};

Box boundingBox(const std::vector<float>& positions)
{
    Box box;
    for (size_t i = 0; i < positions.size(); ++i) {
        int axis = int(i % 3);
        if (i < 3 || positions[i] < box.low[axis])
            box.low[axis] = positions[i];
        if (i < 3 || positions[i] > box.high[axis])
            box.high[axis] = positions[i];
    }
    return box;
}

}  // namespace

float quantisationError(const ModelSource& source)
{
    Box box = boundingBox(source.positions);
    float largest = 0.0f;
    for (int axis = 0; axis < 3; ++axis)
        largest = std::max(largest, (box.high[axis] - box.low[axis]) / 65535.0f);
    return largest * 0.5f + largest * 1e-3f;
}

namespace {

// What the format cannot hold: counts past its 16-bit fields, positions that are not finite,
// indices past the vertices. False with the reason in `error`.
bool fitsModelFormat(const ModelSource& source, std::string& error)
{
    size_t vertexCount = source.positions.size() / 3;
    if (source.positions.size() % 3 != 0) {
        error = "position count not a multiple of three";
        return false;
    }
    if (vertexCount > 65535) {
        error = "more than 65535 vertices (" + std::to_string(vertexCount) + ")";
        return false;
    }
    if (source.groups.empty() || source.groups.size() > 65535) {
        error = "group count " + std::to_string(source.groups.size()) + " outside 1 to 65535";
        return false;
    }
    for (float value : source.positions)
        if (!std::isfinite(value)) {
            error = "position not finite";
            return false;
        }
    for (const auto& group : source.groups) {
        if (group.size() > 65535) {
            error = "more than 65535 triangles in a group (" + std::to_string(group.size()) + ")";
            return false;
        }
        for (const ModelSourceTriangle& triangle : group)
            for (uint16_t index : triangle.index)
                if (index >= vertexCount) {
                    error = "vertex index " + std::to_string(index) + " out of range";
                    return false;
                }
    }
    return true;
}

// Each group's triangle count, then per corner its vertex index (and uv, when textured).
void putGroups(const ModelSource& source, std::vector<uint8_t>& bytes)
{
    for (const auto& group : source.groups) {
        putU16(bytes, uint16_t(group.size()));
        for (const ModelSourceTriangle& triangle : group)
            for (int corner = 0; corner < 3; ++corner) {
                putU16(bytes, triangle.index[corner]);
                if (source.textured) {
                    putU16(bytes, triangle.uv[2 * corner]);
                    putU16(bytes, triangle.uv[2 * corner + 1]);
                }
            }
    }
}

}  // namespace

bool encodeModelFile(const ModelSource& source, PositionEncoding encoding, std::vector<uint8_t>& bytes,
                     std::string& error)
{
    bytes.clear();
    if (!fitsModelFormat(source, error))
        return false;
    size_t vertexCount = source.positions.size() / 3;

    bool quantised = encoding == PositionEncoding::Quantised;
    bool groupCount = source.groups.size() != 1;
    uint8_t flags =
        uint8_t((quantised ? 0 : ModelFlags::FloatPositions) | (groupCount ? ModelFlags::HasGroupCount : 0) |
                (source.textured ? ModelFlags::Textured : 0));
    putU8(bytes, flags);
    putU16(bytes, uint16_t(vertexCount));

    Box box = boundingBox(source.positions);
    float scale[3];
    if (quantised) {
        for (int axis = 0; axis < 3; ++axis) {
            scale[axis] = (box.high[axis] - box.low[axis]) / 65535.0f;
            putF32(bytes, scale[axis]);
        }
        for (int axis = 0; axis < 3; ++axis)
            putF32(bytes, box.low[axis]);
    }
    if (groupCount)
        putU16(bytes, uint16_t(source.groups.size()));
    for (size_t i = 0; i < source.positions.size(); ++i) {
        if (!quantised) {
            putF32(bytes, source.positions[i]);
            continue;
        }
        int axis = int(i % 3);
        double steps = scale[axis] > 0.0f ? std::round(double(source.positions[i] - box.low[axis]) / scale[axis]) : 0.0;
        putU16(bytes, uint16_t(std::clamp(steps, 0.0, 65535.0)));
    }
    putGroups(source, bytes);
    return true;
}
