#include "model_report.h"

#include <algorithm>
#include <ostream>

void printModelInfo(const ParsedModel& model, size_t fileSize, std::ostream& out)
{
    out << "flags        0x" << std::hex << int(model.flags) << std::dec << " ("
        << (model.flags & ModelFlags::FloatPositions ? "float positions" : "quantised positions")
        << (model.flags & ModelFlags::HasGroupCount ? ", group count" : "") << (model.textured() ? ", textured" : "")
        << ")\n";
    size_t triangles = 0, emptyGroups = 0, degenerate = 0;
    for (const ModelGroup& group : model.groups) {
        triangles += group.size();
        emptyGroups += group.empty() ? 1 : 0;
        for (const ModelTriangle& t : group)
            degenerate += t.normal[0] == 0.0f && t.normal[1] == 0.0f && t.normal[2] == 0.0f ? 1 : 0;
    }
    out << "file size    " << fileSize << " bytes\n";
    out << "vertices     " << model.vertexCount << "\n";
    out << "groups       " << model.groups.size() << " (" << emptyGroups << " empty)\n";
    out << "triangles    " << triangles << " (" << degenerate << " of zero area)\n";
    if (model.positions.empty())
        return;
    float low[3], high[3];
    for (int axis = 0; axis < 3; ++axis)
        low[axis] = high[axis] = model.positions[size_t(axis)];
    for (size_t i = 0; i < model.positions.size(); ++i) {
        size_t axis = i % 3;
        low[axis] = std::min(low[axis], model.positions[i]);
        high[axis] = std::max(high[axis], model.positions[i]);
    }
    out << "bounds       (" << low[0] << ", " << low[1] << ", " << low[2] << ") to (" << high[0] << ", " << high[1]
        << ", " << high[2] << ")\n";
}

void printVertexStream(const ParsedModel& model, std::ostream& out)
{
    std::vector<float> stream = buildVertexStream(model);
    size_t stride = size_t(model.textured() ? texturedVertexFloats : plainVertexFloats);
    out.precision(9);
    for (size_t vertex = 0; vertex + stride <= stream.size(); vertex += stride) {
        for (size_t i = 0; i < stride; ++i)
            out << (i ? " " : "") << stream[vertex + i];
        out << "\n";
    }
}
