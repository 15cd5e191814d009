// The models the build generates into the runnable folder: each loads and is a sound solid of
// the size the scenes expect.
#include "assets/mesh_checks.h"
#include "assets/model_table.h"

#include <gtest/gtest.h>

#include <cmath>

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
