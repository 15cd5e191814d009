#include "assets/model_file.h"

#include <cmath>
#include <cstring>

namespace {

// Reads little-endian fields from the front of a byte range; every read checks what is left,
// so no count in a file can make the parser step past its end.
class ByteReader {
public:
    ByteReader(const uint8_t* bytes, size_t size) : cursor(bytes), left(size) {}

    bool has(size_t count) const { return count <= left; }

    void skip(size_t count)
    {
        cursor += count;
        left -= count;
    }

    uint8_t u8()
    {
        --left;
        return *cursor++;
    }

    uint16_t u16()
    {
        uint16_t value = uint16_t(cursor[0] | (cursor[1] << 8));
        cursor += 2;
        left -= 2;
        return value;
    }

    float f32()
    {
        uint32_t bits =
            uint32_t(cursor[0]) | uint32_t(cursor[1]) << 8 | uint32_t(cursor[2]) << 16 | uint32_t(cursor[3]) << 24;
        cursor += 4;
        left -= 4;
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const uint8_t* cursor;
    size_t left;
};

// Scales v to unit length; leaves it all zero when its length is zero or not finite. Single
// precision first (the usual case, bit for bit the plain formula); double precision when the
// squared length under- or overflows a float.
template <typename Real> bool normaliseInto(const Real v[3], float out[3])
{
    Real lengthSquared = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    if (!(lengthSquared > 0) || !std::isfinite(lengthSquared))
        return false;
    Real length = std::sqrt(lengthSquared);
    for (int i = 0; i < 3; ++i)
        out[i] = float(v[i] / length);
    return true;
}

// The face normal e1 x e2 and, when `uv` is given, the tangent dv2*e1 - dv1*e2 and the
// bitangent du1*e2 - du2*e1, computed in the precision Real. False where a vector that should
// exist could not be normalised.
template <typename Real>
bool faceFrame(const float* p0, const float* p1, const float* p2, const uint16_t* uv, ModelTriangle& triangle)
{
    Real e1[3], e2[3];
    for (int i = 0; i < 3; ++i) {
        e1[i] = Real(p1[i]) - Real(p0[i]);
        e2[i] = Real(p2[i]) - Real(p0[i]);
    }
    Real n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    bool complete = normaliseInto(n, triangle.normal);
    // Texture coordinates on one line (a zero texture-space determinant, exact in integers)
    // give no tangent plane: the frame stays zero rather than two arbitrary vectors.
    if (uv && int64_t(int(uv[2]) - int(uv[0])) * (int(uv[5]) - int(uv[1])) !=
                  int64_t(int(uv[4]) - int(uv[0])) * (int(uv[3]) - int(uv[1]))) {
        // Signed differences of the stored 16-bit values, deliberately not scaled by 1/65535.
        Real du1 = Real(int(uv[2]) - int(uv[0])), dv1 = Real(int(uv[3]) - int(uv[1]));
        Real du2 = Real(int(uv[4]) - int(uv[0])), dv2 = Real(int(uv[5]) - int(uv[1]));
        Real t[3], b[3];
        for (int i = 0; i < 3; ++i) {
            t[i] = dv2 * e1[i] - dv1 * e2[i];
            b[i] = du1 * e2[i] - du2 * e1[i];
        }
        complete = normaliseInto(t, triangle.tangent) && complete;
        complete = normaliseInto(b, triangle.bitangent) && complete;
    }
    return complete;
}

void computeFaceFrame(const std::vector<float>& positions, bool textured, ModelTriangle& triangle)
{
    const float* p0 = &positions[3 * size_t(triangle.index[0])];
    const float* p1 = &positions[3 * size_t(triangle.index[1])];
    const float* p2 = &positions[3 * size_t(triangle.index[2])];
    const uint16_t* uv = textured ? triangle.uv : nullptr;
    for (float* v : {triangle.normal, triangle.tangent, triangle.bitangent})
        v[0] = v[1] = v[2] = 0.0f;
    if (faceFrame<float>(p0, p1, p2, uv, triangle))
        return;
    // Zero area, texture coordinates on a line, or extreme coordinates: the wider type decides
    // which vectors exist at all; the ones that do not stay zero.
    for (float* v : {triangle.normal, triangle.tangent, triangle.bitangent})
        v[0] = v[1] = v[2] = 0.0f;
    faceFrame<double>(p0, p1, p2, uv, triangle);
}

bool fail(std::string& error, const char* reason, ParsedModel& model)
{
    error = reason;
    model = ParsedModel();
    return false;
}

// Walks the group records from `reader` (a copy) without keeping anything, so that every count
// is held against the bytes that hold its records before memory is set aside for them: no
// file can make the parser ask for more than its size (and maxModelTriangles) allow. Null when
// the records fit, else the reason.
const char* groupRecordsFault(ByteReader reader, uint16_t groupCount, size_t recordSize)
{
    size_t triangles = 0;
    for (uint16_t g = 0; g < groupCount; ++g) {
        if (!reader.has(2))
            return "truncated group record";
        uint16_t triangleCount = reader.u16();
        if (!reader.has(size_t(triangleCount) * recordSize))
            return "triangle records reach past the end of the file";
        reader.skip(size_t(triangleCount) * recordSize);
        triangles += triangleCount;
        if (triangles > maxModelTriangles)
            return "triangle total over the loader's limit";
    }
    return nullptr;
}

}  // namespace

bool parseModelFile(const uint8_t* bytes, size_t size, ParsedModel& model, std::string& error)
{
    model = ParsedModel();
    ByteReader reader(bytes, size);
    if (!reader.has(3))
        return fail(error, "truncated header", model);
    uint8_t flags = reader.u8();
    uint16_t vertexCount = reader.u16();
    if (flags & ModelFlags::NoPositions)
        return fail(error, "no position block (flag bits 0-1 set)", model);

    float scale[3] = {0, 0, 0}, offset[3] = {0, 0, 0};
    bool floatPositions = (flags & ModelFlags::FloatPositions) != 0;
    if (!floatPositions) {
        if (!reader.has(24))
            return fail(error, "truncated dequantisation block", model);
        for (float& s : scale)
            s = reader.f32();
        for (float& o : offset)
            o = reader.f32();
        for (int i = 0; i < 3; ++i)
            if (!std::isfinite(scale[i]) || !std::isfinite(offset[i]))
                return fail(error, "dequantisation value not finite", model);
    }
    uint16_t groupCount = 1;
    if (flags & ModelFlags::HasGroupCount) {
        if (!reader.has(2))
            return fail(error, "truncated group count", model);
        groupCount = reader.u16();
    }

    model.flags = flags;
    model.vertexCount = vertexCount;
    if (!reader.has(size_t(vertexCount) * (floatPositions ? 12 : 6)))
        return fail(error, "position block reaches past the end of the file", model);
    model.positions.reserve(3 * size_t(vertexCount));
    for (size_t i = 0; i < 3 * size_t(vertexCount); ++i) {
        // Quantised: single precision, the integer as f32, times the scale, plus the offset.
        int axis = int(i % 3);
        float value = floatPositions ? reader.f32() : float(reader.u16()) * scale[axis] + offset[axis];
        if (!std::isfinite(value))
            return fail(error, "position not finite", model);
        model.positions.push_back(value);
    }

    bool textured = model.textured();
    size_t recordSize = textured ? 18 : 6;
    if (const char* fault = groupRecordsFault(reader, groupCount, recordSize))
        return fail(error, fault, model);
    model.groups.resize(groupCount);
    for (ModelGroup& group : model.groups) {
        uint16_t triangleCount = reader.u16();  // the walk above saw every record fit
        group.resize(triangleCount);
        for (ModelTriangle& triangle : group) {
            for (uint16_t& value : triangle.uv)
                value = 0xFFFF;
            for (int corner = 0; corner < 3; ++corner) {
                triangle.index[corner] = reader.u16();
                if (textured) {
                    triangle.uv[2 * corner] = reader.u16();
                    triangle.uv[2 * corner + 1] = reader.u16();
                }
                if (triangle.index[corner] >= vertexCount)
                    return fail(error, "vertex index out of range", model);
            }
            computeFaceFrame(model.positions, textured, triangle);
        }
    }
    return true;
}

namespace {

// A triangle corner's vertex, seen from the vertex: the group and triangle that use it.
struct VertexUse {
    uint32_t group;
    const ModelTriangle* triangle;
};

// For every vertex, the triangle corners that use it, in file order (so grouped by group).
struct VertexUses {
    std::vector<uint32_t> start;      // vertex v's uses are [start[v], start[v + 1])
    std::vector<VertexUse> uses;      // all vertices' uses, one vertex after the other
    std::vector<uint32_t> cornerUse;  // corner, in file order -> its slot in `uses`
};

// A counting pass, then a filling pass into one flat array.
VertexUses listVertexUses(const ParsedModel& model)
{
    size_t vertexCount = model.vertexCount;
    size_t cornerCount = 0;
    for (const ModelGroup& group : model.groups)
        cornerCount += 3 * group.size();
    VertexUses lists;
    lists.start.assign(vertexCount + 1, 0);
    for (const ModelGroup& group : model.groups)
        for (const ModelTriangle& triangle : group)
            for (uint16_t index : triangle.index)
                ++lists.start[size_t(index) + 1];
    for (size_t v = 0; v < vertexCount; ++v)
        lists.start[v + 1] += lists.start[v];
    lists.uses.resize(cornerCount);
    lists.cornerUse.resize(cornerCount);
    std::vector<uint32_t> fill(lists.start.begin(), lists.start.end() - 1);
    size_t corner = 0;
    for (size_t g = 0; g < model.groups.size(); ++g)
        for (const ModelTriangle& triangle : model.groups[g])
            for (uint16_t index : triangle.index) {
                lists.cornerUse[corner++] = fill[index];
                lists.uses[fill[index]++] = {uint32_t(g), &triangle};
            }
    return lists;
}

// The smoothed frame of a vertex within a group is the same for every corner that asks, so
// it is summed once per run of equal groups in the vertex's list, in list order: `runSums`
// gets `frameFloats` floats a run, `useRun` the run of each use.
void sumFramesPerRun(const VertexUses& lists, size_t vertexCount, bool textured, std::vector<float>& runSums,
                     std::vector<uint32_t>& useRun)
{
    const int frameFloats = textured ? 9 : 3;
    useRun.assign(lists.uses.size(), 0);
    for (size_t v = 0; v < vertexCount; ++v) {
        for (uint32_t u = lists.start[v]; u < lists.start[v + 1];) {
            uint32_t runEnd = u;
            size_t run = runSums.size() / size_t(frameFloats);
            runSums.resize(runSums.size() + size_t(frameFloats), 0.0f);
            float* sum = &runSums[run * size_t(frameFloats)];
            while (runEnd < lists.start[v + 1] && lists.uses[runEnd].group == lists.uses[u].group) {
                const ModelTriangle& t = *lists.uses[runEnd].triangle;
                for (int i = 0; i < 3; ++i) {
                    sum[i] += t.normal[i];
                    if (textured) {
                        sum[3 + i] += t.bitangent[i];
                        sum[6 + i] += t.tangent[i];
                    }
                }
                useRun[runEnd++] = uint32_t(run);
            }
            u = runEnd;
        }
    }
}

}  // namespace

std::vector<float> buildVertexStream(const ParsedModel& model)
{
    const bool textured = model.textured();
    const int frameFloats = textured ? 9 : 3;
    const VertexUses lists = listVertexUses(model);
    std::vector<float> runSums;
    std::vector<uint32_t> useRun;
    sumFramesPerRun(lists, model.vertexCount, textured, runSums, useRun);

    std::vector<float> stream;
    stream.reserve(lists.uses.size() * size_t(textured ? texturedVertexFloats : plainVertexFloats));
    size_t corner = 0;
    for (const ModelGroup& group : model.groups)
        for (const ModelTriangle& triangle : group)
            for (int k = 0; k < 3; ++k, ++corner) {
                const float* position = &model.positions[3 * size_t(triangle.index[k])];
                const float* sum = &runSums[size_t(useRun[lists.cornerUse[corner]]) * size_t(frameFloats)];
                stream.insert(stream.end(), position, position + 3);
                if (textured) {
                    stream.push_back(float(triangle.uv[2 * k]) / 65535.0f);
                    stream.push_back(float(triangle.uv[2 * k + 1]) / 65535.0f);
                }
                stream.insert(stream.end(), sum, sum + frameFloats);
            }
    return stream;
}
