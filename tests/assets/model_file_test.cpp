#include "assets/model_file.h"
#include "assets/model_bytes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ParsedModel parse(const std::vector<uint8_t>& bytes)
{
    ParsedModel model;
    std::string error;
    EXPECT_TRUE(parseModelFile(bytes.data(), bytes.size(), model, error)) << error;
    return model;
}

std::string rejection(const std::vector<uint8_t>& bytes)
{
    ParsedModel model;
    std::string error;
    bool parsed = parseModelFile(bytes.data(), bytes.size(), model, error);
    EXPECT_FALSE(parsed);
    EXPECT_TRUE(model.groups.empty() && model.positions.empty());
    return parsed ? "" : error;
}

float length(const float* v)
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

// Three triangles around vertex 0, all in the z = 0 plane, facing +z.
ModelBytes fanAroundVertexZero(uint8_t flags)
{
    ModelBytes file;
    file.u8(flags).u16({4}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0, -1, -1, 0});
    return file;
}

}  // namespace

TEST(ModelFileLayout, SmallestFileGivesTheDocumentedStream)
{
    std::vector<uint8_t> bytes = smallestModelFile();
    ASSERT_EQ(bytes.size(), 47u);
    ParsedModel model = parse(bytes);
    ASSERT_EQ(model.groups.size(), 1u);
    ASSERT_EQ(model.groups[0].size(), 1u);
    const ModelTriangle& triangle = model.groups[0][0];
    EXPECT_EQ(triangle.normal[0], 0.0f);
    EXPECT_EQ(triangle.normal[1], 0.0f);
    EXPECT_EQ(triangle.normal[2], 1.0f);
    for (uint16_t value : triangle.uv)
        EXPECT_EQ(value, 0xFFFF);
    std::vector<float> expected = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(buildVertexStream(model), expected);
}

TEST(ModelFileLayout, QuantisedPositionsDequantiseInSinglePrecision)
{
    const float scale[3] = {0.25f, 1.0f / 3.0f, 1e-4f};
    const float offset[3] = {-2.0f, 7.5f, 0.1f};
    ModelBytes file;
    file.u8(0x00).u16({3});
    file.f32({scale[0], scale[1], scale[2], offset[0], offset[1], offset[2]});
    file.u16({0, 0, 0, 65535, 65535, 65535, 1234, 40000, 9});
    file.u16({1}).u16({0, 1, 2});
    ParsedModel model = parse(file.bytes);
    ASSERT_EQ(model.positions.size(), 9u);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(model.positions[size_t(axis)], offset[axis]) << "0 gives exactly the offset";
        EXPECT_EQ(model.positions[size_t(3 + axis)], 65535.0f * scale[axis] + offset[axis]);
    }
    EXPECT_EQ(model.positions[7], 40000.0f * scale[1] + offset[1]);
}

TEST(ModelFileLayout, GroupCountFollowsTheHeaderOfAFloatModel)
{
    // Flags 0x0C: float positions and a group count at offset 3; two groups.
    ModelBytes file;
    file.u8(0x0C).u16({3}).u16({2}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0});
    file.u16({1}).u16({0, 1, 2});
    file.u16({1}).u16({0, 2, 1});
    ParsedModel model = parse(file.bytes);
    ASSERT_EQ(model.groups.size(), 2u);
    EXPECT_EQ(model.groups[1][0].normal[2], -1.0f);
    EXPECT_EQ(buildVertexStream(model).size(), 2u * 3u * plainVertexFloats);
}

TEST(ModelFileLayout, TexturedStreamCarriesScaledUvAndTheTangentFrame)
{
    ModelBytes file;
    file.u8(0x14).u16({3}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0}).u16({1});
    file.u16({0, 0, 0, 1, 65535, 0, 2, 0, 65535});
    ParsedModel model = parse(file.bytes);
    std::vector<float> stream = buildVertexStream(model);
    ASSERT_EQ(stream.size(), 3u * texturedVertexFloats);
    // Corner 1: position, u = 1.0 exactly, v = 0, normal +z, bitangent +y, tangent +x.
    const float* corner = &stream[texturedVertexFloats];
    std::vector<float> expected = {1, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(std::vector<float>(corner, corner + texturedVertexFloats), expected);
    EXPECT_EQ(stream[2 * texturedVertexFloats + 4], 1.0f) << "v = 65535 gives 1.0";
}

TEST(ModelFileLayout, MirroredMappingTurnsTheFrameAround)
{
    // u runs along -x: the determinant is negative and the tangent points against +u.
    ModelBytes file;
    file.u8(0x14).u16({3}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0}).u16({1});
    file.u16({0, 65535, 0, 1, 0, 0, 2, 65535, 65535});
    ParsedModel model = parse(file.bytes);
    const ModelTriangle& triangle = model.groups[0][0];
    EXPECT_EQ(triangle.tangent[0], 1.0f);
    EXPECT_EQ(triangle.bitangent[1], -1.0f);
}

TEST(ModelSmoothing, SumsUnitNormalsWithinAGroup)
{
    ModelBytes file = fanAroundVertexZero(0x04);
    file.u16({3}).u16({0, 1, 2, 0, 2, 3, 0, 3, 1});
    ParsedModel model = parse(file.bytes);
    std::vector<float> stream = buildVertexStream(model);
    ASSERT_EQ(stream.size(), 9u * plainVertexFloats);
    // Corner 0 of every triangle is the shared vertex: three unit normals summed, not
    // normalised. Vertex 1 is shared by two triangles.
    for (int t = 0; t < 3; ++t)
        EXPECT_FLOAT_EQ(stream[size_t(t * 3 * plainVertexFloats + 5)], 3.0f);
    EXPECT_FLOAT_EQ(stream[size_t(plainVertexFloats + 5)], 2.0f);
}

TEST(ModelSmoothing, GroupsKeepTheirNormalsApart)
{
    // Two triangles sharing edge 0-1 at a right angle, in different groups, then the same in
    // one group.
    auto build = [](bool oneGroup) {
        ModelBytes file;
        file.u8(0x0C).u16({4}).u16({uint16_t(oneGroup ? 1 : 2)});
        file.f32({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
        if (oneGroup)
            file.u16({2}).u16({0, 1, 2, 1, 0, 3});
        else
            file.u16({1}).u16({0, 1, 2}).u16({1}).u16({1, 0, 3});
        return buildVertexStream(parse(file.bytes));
    };
    std::vector<float> apart = build(false);
    std::vector<float> together = build(true);
    const float* normalApart = &apart[3];
    const float* normalTogether = &together[3];
    EXPECT_EQ(normalApart[0], 0.0f);
    EXPECT_EQ(normalApart[1], 0.0f);
    EXPECT_EQ(normalApart[2], 1.0f);
    EXPECT_FLOAT_EQ(normalTogether[1], 1.0f);
    EXPECT_FLOAT_EQ(normalTogether[2], 1.0f);
}

TEST(ModelSmoothing, EmptyGroupAddsNoVertices)
{
    ModelBytes file;
    file.u8(0x0C).u16({3}).u16({3}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0});
    file.u16({0}).u16({1}).u16({0, 1, 2}).u16({0});
    ParsedModel model = parse(file.bytes);
    EXPECT_EQ(model.groups[0].size(), 0u);
    EXPECT_EQ(model.groups[2].size(), 0u);
    EXPECT_EQ(buildVertexStream(model).size(), 3u * plainVertexFloats);
}

TEST(ModelDegenerateTriangles, ZeroAreaGivesAZeroNormalAndNoNaN)
{
    ModelBytes file = fanAroundVertexZero(0x04);
    // Triangle 0-1-1 has no area; triangle 0-1-2 shares vertex 0 and 1 with it.
    file.u16({2}).u16({0, 1, 1, 0, 1, 2});
    ParsedModel model = parse(file.bytes);
    const ModelTriangle& flat = model.groups[0][0];
    EXPECT_EQ(length(flat.normal), 0.0f);
    std::vector<float> stream = buildVertexStream(model);
    for (float value : stream)
        ASSERT_FALSE(std::isnan(value));
    EXPECT_EQ(stream[5], 1.0f) << "the degenerate neighbour adds nothing";
}

TEST(ModelDegenerateTriangles, CollinearTextureCoordinatesGiveAZeroFrame)
{
    ModelBytes file;
    file.u8(0x14).u16({3}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0}).u16({1});
    // (0,0), (100,100), (200,200): the texture-space determinant is zero.
    file.u16({0, 0, 0, 1, 100, 100, 2, 200, 200});
    ParsedModel model = parse(file.bytes);
    const ModelTriangle& triangle = model.groups[0][0];
    EXPECT_EQ(triangle.normal[2], 1.0f) << "the face normal does not depend on uv";
    EXPECT_EQ(length(triangle.tangent), 0.0f);
    EXPECT_EQ(length(triangle.bitangent), 0.0f);
    for (float value : buildVertexStream(model))
        ASSERT_FALSE(std::isnan(value));
}

TEST(ModelDegenerateTriangles, ExtremeCoordinatesStillGiveUnitNormals)
{
    // The float cross product overflows here; the normal must still come out right.
    ModelBytes file;
    file.u8(0x04).u16({3}).f32({-3e38f, 0, 0, 3e38f, 0, 0, -3e38f, 3e38f, 0}).u16({1});
    file.u16({0, 1, 2});
    ParsedModel model = parse(file.bytes);
    const ModelTriangle& triangle = model.groups[0][0];
    EXPECT_FLOAT_EQ(triangle.normal[2], 1.0f);
}

TEST(ModelFileRejection, EveryMalformedFileIsRejectedWithItsReason)
{
    std::vector<uint8_t> smallest = smallestModelFile();
    EXPECT_EQ(rejection({}), "truncated header");
    EXPECT_EQ(rejection({0x04, 3}), "truncated header");
    for (uint8_t flags : {0x05, 0x06, 0x07})
        EXPECT_EQ(rejection(ModelBytes().u8(flags).u16({3}).bytes), "no position block (flag bits 0-1 set)");
    EXPECT_EQ(rejection(ModelBytes().u8(0x00).u16({1}).f32({1, 1, 1}).bytes), "truncated dequantisation block");
    EXPECT_EQ(rejection(ModelBytes().u8(0x0C).u16({0}).u8(1).bytes), "truncated group count");
    EXPECT_EQ(rejection(std::vector<uint8_t>(smallest.begin(), smallest.begin() + 38)),
              "position block reaches past the end of the file");
    EXPECT_EQ(rejection(std::vector<uint8_t>(smallest.begin(), smallest.begin() + 40)), "truncated group record");
    EXPECT_EQ(rejection(std::vector<uint8_t>(smallest.begin(), smallest.end() - 1)),
              "triangle records reach past the end of the file");
    // The last index, little-endian, set to 3 of 3 vertices: one past the end, the exact bound.
    std::vector<uint8_t> badIndex = smallest;
    badIndex[badIndex.size() - 2] = 3;
    badIndex.back() = 0;
    EXPECT_EQ(rejection(badIndex), "vertex index out of range");
    badIndex[badIndex.size() - 2] = 2;  // and the last vertex itself is fine
    ParsedModel lastVertex;
    std::string error;
    EXPECT_TRUE(parseModelFile(badIndex.data(), badIndex.size(), lastVertex, error)) << error;
    EXPECT_EQ(rejection(ModelBytes().u8(0x04).u16({1}).f32({0, NAN, 0}).u16({0}).bytes), "position not finite");
    EXPECT_EQ(rejection(ModelBytes().u8(0x00).u16({1}).f32({1, 1, 1, 0, INFINITY, 0}).bytes),
              "dequantisation value not finite");
    // A textured record is 18 bytes: a plain-sized record is not enough.
    EXPECT_EQ(rejection(ModelBytes().u8(0x14).u16({3}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0}).u16({1}).u16({0, 1, 2}).bytes),
              "triangle records reach past the end of the file");
}

TEST(ModelFileRejection, BytesAfterTheLastGroupAreIgnored)
{
    std::vector<uint8_t> bytes = smallestModelFile();
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(parse(bytes).groups[0].size(), 1u);
}
