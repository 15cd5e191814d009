// The models the build generates into the runnable folder: each loads and is a sound solid of
// the size the scenes expect.
#include "assets/mesh_checks.h"
#include "assets/model_table.h"
#include "extruded_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

TEST(GeneratedModels, EveryModelIsAClosedOutwardFacingSolid)
{
    for (const char* path : modelFiles) {
        ParsedModel model = parseGeneratedModel(path);
        MeshMeasures m = measureMesh(model);
        EXPECT_TRUE(m.finite) << path;
        EXPECT_GT(m.triangles, 0u) << path;
        EXPECT_EQ(m.unmatchedEdges, 0u) << path << " has open edges";
        EXPECT_GT(m.signedVolume, 0.0) << path << " faces inwards";
    }
}

TEST(GeneratedModels, SphereAndCubeHaveTheirSize)
{
    ParsedModel sphere = parseGeneratedModel("3d/sphere.3d");
    for (size_t i = 0; i < sphere.positions.size(); i += 3) {
        const float* p = &sphere.positions[i];
        EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0f, 1e-4f);
    }
    ParsedModel cube = parseGeneratedModel("3d/texturedcube.3d");
    EXPECT_TRUE(cube.textured());
    EXPECT_EQ(cube.groups.size(), 6u);
    MeshMeasures m = measureMesh(cube);
    EXPECT_DOUBLE_EQ(m.signedVolume, 8.0);
    // Every face has the full texture square with a proper (non-zero) tangent frame.
    for (const ModelGroup& face : cube.groups)
        for (const ModelTriangle& t : face)
            EXPECT_FLOAT_EQ(t.tangent[0] * t.tangent[0] + t.tangent[1] * t.tangent[1] + t.tangent[2] * t.tangent[2],
                            1.0f);
}

TEST(GeneratedModels, CreditsStandOnTheGroundClearOfTheCameraPath)
{
    // The camera travels along z = 2 from x = -30 to x = 30, 2 units up, looking towards
    // (15, 1.5, 0). The show lifts the model by one unit, so the ground is at y = -1 here.
    // The name stands beyond the camera's last position: it stays ahead while the camera
    // closes in and no letter is ever passed through. The crystals on the near plain stay off
    // the camera's path and under the sight line from its start to the foot of the name.
    // The name lies beyond x = 30.5 and the crystals short of it: measured apart.
    ParsedModel model = parseGeneratedModel("3d/soundtrackmoravelkint.3d");
    ParsedModel name, crystals;
    for (size_t i = 0; i + 2 < model.positions.size(); i += 3) {
        ParsedModel& part = model.positions[i] > 30.5f ? name : crystals;
        part.positions.insert(part.positions.end(), &model.positions[i], &model.positions[i] + 3);
    }
    MeshMeasures n = measureMesh(name), c = measureMesh(crystals);
    // Lowest point on the ground, neither floating nor sunk (no descenders in the name, round
    // letters included); two lines of letters 5 high, the second 1.35 letters above the first,
    // the whole leaning back by 40 degrees.
    EXPECT_NEAR(n.low[1], -1.0f, 2e-3f);
    EXPECT_NEAR(n.high[1] - n.low[1], 9.30f, 0.15f);
    ASSERT_FALSE(crystals.positions.empty());
    EXPECT_LT(c.high[1], -1.0f + 0.8f);
    EXPECT_LT(c.low[1], -1.0f) << "crystals rooted in the ground";
    EXPECT_GT(c.low[1], -1.3f);
    EXPECT_LT(c.high[2], 0.0f);
}

TEST(GeneratedModels, CreditsLettersHaveTrueFlatFacesAndOutwardBevels)
{
    // The credits' layout: letters 5 high, 0.35 deep. The front face (z = 0.175) and the back
    // face (z = -0.175) must face straight ahead and behind, and hold no sliver: positions are
    // quantised to about 1/1600 of a unit in the credits' file, which tilts the normal of a
    // triangle thinner than 0.01 by degrees, and the loader sums unit normals, so one sliver
    // shows as a seam across a letter. The bevel between the front face and the outline set
    // back by 0.15 leans forwards and outwards (an inset that went the wrong way, or crossed
    // itself, would turn bevel faces backwards).
    const TextLayout layout{5.0f, 0.35f, 40.0f, 0.05f};
    const float front = 0.175f, back = -0.175f, setBack = front - 0.15f;
    for (const char* line : {"soundtrack", "moravelkint"}) {
        ModelSource text;
        std::string error;
        ASSERT_TRUE(makeExtrudedText(SHOW_CREDITS_FONT, line, layout, text, error)) << error;
        size_t bevelTriangles = 0;
        for (const auto& group : text.groups)
            for (const ModelSourceTriangle& t : group) {
                const float* p[3];
                for (int k = 0; k < 3; ++k)
                    p[k] = &text.positions[3 * size_t(t.index[k])];
                float e1[3], e2[3];
                for (int axis = 0; axis < 3; ++axis)
                    e1[axis] = p[1][axis] - p[0][axis], e2[axis] = p[2][axis] - p[0][axis];
                float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                              e1[0] * e2[1] - e1[1] * e2[0]};
                float twiceArea = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                float nz = n[2] / twiceArea;
                float zLow = std::min({p[0][2], p[1][2], p[2][2]}), zHigh = std::max({p[0][2], p[1][2], p[2][2]});
                if (zLow == zHigh) {
                    float longest = 0.0f;
                    for (int k = 0; k < 3; ++k)
                        longest =
                            std::max(longest, std::hypot(p[(k + 1) % 3][0] - p[k][0], p[(k + 1) % 3][1] - p[k][1]));
                    EXPECT_GE(twiceArea / longest, 0.01f) << line << ": a sliver at z = " << zLow;
                    EXPECT_NEAR(nz, zLow == front ? 1.0f : -1.0f, 1e-5f) << line;
                    EXPECT_TRUE(zLow == front || zLow == back) << line;
                } else if (zHigh == front) {
                    ++bevelTriangles;
                    EXPECT_NEAR(zLow, setBack, 1e-6f) << line;
                    EXPECT_GT(nz, 0.4f) << line << ": a bevel face at " << p[0][0] << ", " << p[0][1];
                    EXPECT_LT(nz, 0.95f) << line << ": a bevel face at " << p[0][0] << ", " << p[0][1];
                }
            }
        EXPECT_GT(bevelTriangles, 100u) << line;
    }
}

TEST(GeneratedModels, SculpturesFitTheUnitCube)
{
    // How they differ from one another is sculpture_shape_test's concern.
    for (int k = 3; k < modelCount; ++k) {
        MeshMeasures m = measureMesh(parseGeneratedModel(modelFiles[k]));
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_GE(m.low[axis], -1.0f) << modelFiles[k];
            EXPECT_LE(m.high[axis], 1.0f) << modelFiles[k];
        }
        EXPECT_GT(m.high[1] - m.low[1], 1.5f) << modelFiles[k] << " uses the height";
    }
}
