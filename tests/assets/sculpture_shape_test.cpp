// The carousel's sculptures as the viewer sees them: stretched 1:4:1 and lit almost flat, so
// their outlines must tell them apart, and each outline must change as the sculpture turns.
// Outlines are rasterised on the CPU, looking along -z at the turned model.
#include "assets/mesh_checks.h"
#include "assets/model_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int firstSculpture = 3, sculptureCount = 9;
// The carousel's scale of y against x and z.
constexpr float stretch = 4.0f;
// Pixels across the width [-1, 1]; the height [-4, 4] gets four times as many.
constexpr int columns = 48, rows = columns * 4;

using Silhouette = std::vector<bool>;

ParsedModel loadSculpture(int k)
{
    return parseGeneratedModel(modelFiles[firstSculpture + k]);
}

// The pixels covered by any triangle, the model turned by `degrees` about y and stretched,
// seen orthographically along -z.
Silhouette silhouette(const ParsedModel& model, float degrees)
{
    const float angle = degrees * 3.14159265f / 180.0f, c = std::cos(angle), s = std::sin(angle);
    auto toPixels = [&](uint16_t index, float& px, float& py) {
        const float* p = &model.positions[3 * size_t(index)];
        px = (p[0] * c + p[2] * s + 1.0f) * 0.5f * float(columns);
        py = (p[1] * stretch + stretch) / (2.0f * stretch) * float(rows);
    };
    Silhouette covered(size_t(columns) * rows, false);
    for (const ModelGroup& group : model.groups)
        for (const ModelTriangle& t : group) {
            float x[3], y[3];
            for (int k = 0; k < 3; ++k)
                toPixels(t.index[k], x[k], y[k]);
            float area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
            if (std::fabs(area) < 1e-9f)
                continue;
            int x0 = std::max(0, int(std::floor(std::min({x[0], x[1], x[2]}))));
            int x1 = std::min(columns - 1, int(std::ceil(std::max({x[0], x[1], x[2]}))));
            int y0 = std::max(0, int(std::floor(std::min({y[0], y[1], y[2]}))));
            int y1 = std::min(rows - 1, int(std::ceil(std::max({y[0], y[1], y[2]}))));
            for (int py = y0; py <= y1; ++py)
                for (int px = x0; px <= x1; ++px) {
                    float cx = float(px) + 0.5f, cy = float(py) + 0.5f;
                    bool inside = true;
                    for (int k = 0; k < 3 && inside; ++k) {
                        int a = (k + 1) % 3, b = (k + 2) % 3;
                        float edge = (x[b] - x[a]) * (cy - y[a]) - (y[b] - y[a]) * (cx - x[a]);
                        inside = edge * area >= 0.0f;
                    }
                    if (inside)
                        covered[size_t(py) * columns + size_t(px)] = true;
                }
        }
    return covered;
}

// Intersection over union of two silhouettes: 1 for the same outline, 0 for disjoint ones.
double overlap(const Silhouette& a, const Silhouette& b)
{
    size_t both = 0, either = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either ? double(both) / double(either) : 1.0;
}

}  // namespace

TEST(SculptureShapes, OutlinesAtTheFirstFrameDifferPairwise)
{
    // The carousel shows each sculpture first a quarter turned.
    std::vector<Silhouette> outlines;
    for (int k = 0; k < sculptureCount; ++k)
        outlines.push_back(silhouette(loadSculpture(k), 90.0f));
    for (int a = 0; a < sculptureCount; ++a)
        for (int b = a + 1; b < sculptureCount; ++b)
            // Solid tall figures share much of the frame whatever their detail; the same figure
            // again, or one barely changed, overlaps well beyond this.
            EXPECT_LT(overlap(outlines[size_t(a)], outlines[size_t(b)]), 0.75)
                << modelFiles[firstSculpture + a] << " and " << modelFiles[firstSculpture + b] << " look alike";
}

TEST(SculptureShapes, EachOutlineChangesAsItTurns)
{
    for (int k = 0; k < sculptureCount; ++k) {
        ParsedModel model = loadSculpture(k);
        Silhouette front = silhouette(model, 0.0f);
        // The greatest change over half a turn (the other half mirrors it): a sculpture round
        // about y would show the same outline from every side.
        double leastAlike = 1.0;
        for (float degrees : {45.0f, 90.0f, 135.0f})
            leastAlike = std::min(leastAlike, overlap(front, silhouette(model, degrees)));
        EXPECT_LT(leastAlike, 0.8) << modelFiles[firstSculpture + k] << " looks the same as it turns";
    }
}

TEST(SculptureShapes, FillTheFrameHeightButNotTheWholeBox)
{
    // After the stretch each is a tall figure: most of the height, and openings or a taper so
    // that it is not a solid block.
    for (int k = 0; k < sculptureCount; ++k) {
        ParsedModel model = loadSculpture(k);
        MeshMeasures m = measureMesh(model);
        EXPECT_GT(m.high[1] - m.low[1], 1.8f) << modelFiles[firstSculpture + k];
        EXPECT_LT(m.triangles, 50000u) << modelFiles[firstSculpture + k];
        Silhouette outline = silhouette(model, 90.0f);
        double filled = double(std::count(outline.begin(), outline.end(), true)) / double(outline.size());
        EXPECT_GT(filled, 0.1) << modelFiles[firstSculpture + k];
        EXPECT_LT(filled, 0.75) << modelFiles[firstSculpture + k];
    }
}

// A check of the check: the same model compared with itself overlaps fully, and a model
// against its own mirror (turned half round) overlaps less when it is lopsided.
TEST(SculptureShapes, OverlapMeasuresLikeness)
{
    ParsedModel crystals = loadSculpture(6);
    Silhouette once = silhouette(crystals, 30.0f);
    EXPECT_DOUBLE_EQ(overlap(once, silhouette(crystals, 30.0f)), 1.0);
    EXPECT_LT(overlap(once, silhouette(crystals, 210.0f)), 0.95);
}
