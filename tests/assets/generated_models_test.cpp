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
    MeshMeasures m = measureMesh(parseGeneratedModel("3d/soundtrackmoravelkint.3d"));
    // The show lifts the model by one unit onto the ground: its lowest point must be at -1,
    // neither floating nor sunk (no descenders in the name, round letters included).
    EXPECT_NEAR(m.low[1], -1.0f, 2e-3f);
    // Two lines of letters 5 high, the second line 1.35 letters above the first, the whole
    // leaning back by 40 degrees.
    EXPECT_NEAR(m.high[1] - m.low[1], 9.30f, 0.15f);
    // The camera travels along z = 2 from x = -30 to x = 30, looking towards x = 15: all of the
    // name lies beyond its last position, so it stays ahead while the camera closes in and the
    // camera never passes through a letter.
    EXPECT_GT(m.low[0], 30.5f);
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
