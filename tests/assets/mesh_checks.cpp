#include "assets/mesh_checks.h"

#include "core/load_whole_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <map>
#include <utility>

MeshMeasures measureMesh(const ParsedModel& model)
{
    MeshMeasures m;
    for (size_t i = 0; i < model.positions.size(); ++i) {
        float value = model.positions[i];
        size_t axis = i % 3;
        m.finite = m.finite && std::isfinite(value);
        if (i < 3 || value < m.low[axis])
            m.low[axis] = value;
        if (i < 3 || value > m.high[axis])
            m.high[axis] = value;
    }
    for (float value : buildVertexStream(model))
        m.finite = m.finite && std::isfinite(value);

    std::map<std::pair<uint16_t, uint16_t>, int> edges;
    for (const ModelGroup& group : model.groups)
        for (const ModelTriangle& t : group) {
            ++m.triangles;
            for (int k = 0; k < 3; ++k)
                ++edges[{t.index[k], t.index[(k + 1) % 3]}];
            const float* p0 = &model.positions[3 * size_t(t.index[0])];
            const float* p1 = &model.positions[3 * size_t(t.index[1])];
            const float* p2 = &model.positions[3 * size_t(t.index[2])];
            double cx = double(p1[1]) * p2[2] - double(p1[2]) * p2[1];
            double cy = double(p1[2]) * p2[0] - double(p1[0]) * p2[2];
            double cz = double(p1[0]) * p2[1] - double(p1[1]) * p2[0];
            m.signedVolume += (p0[0] * cx + p0[1] * cy + p0[2] * cz) / 6.0;
        }
    for (const auto& [edge, count] : edges) {
        auto reverse = edges.find({edge.second, edge.first});
        int partners = reverse == edges.end() ? 0 : reverse->second;
        if (count > partners)
            m.unmatchedEdges += size_t(count - partners);
    }
    return m;
}

ParsedModel parseGeneratedModel(const char* path)
{
    size_t size = 0;
    uint8_t* bytes = loadWholeFile(path, &size);
    ParsedModel model;
    std::string error;
    EXPECT_NE(bytes, nullptr) << path << " missing: is the content built?";
    if (bytes) {
        EXPECT_TRUE(parseModelFile(bytes, size, model, error)) << path << ": " << error;
        std::free(bytes);
    }
    return model;
}
