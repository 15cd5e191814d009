#include "assets/model_file.h"
#include "assets/model_writer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ModelSource tetrahedron()
{
    ModelSource source;
    source.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1.5f};
    source.groups = {{{{0, 2, 1}}, {{0, 1, 3}}}, {{{0, 3, 2}}, {{1, 2, 3}}}};
    return source;
}

ParsedModel roundTrip(const ModelSource& source, PositionEncoding encoding)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(encodeModelFile(source, encoding, bytes, error)) << error;
    ParsedModel model;
    EXPECT_TRUE(parseModelFile(bytes.data(), bytes.size(), model, error)) << error;
    return model;
}

}  // namespace

TEST(ModelWriter, FloatPositionsComeBackExactly)
{
    ModelSource source = tetrahedron();
    ParsedModel model = roundTrip(source, PositionEncoding::Float);
    EXPECT_EQ(model.positions, source.positions);
    ASSERT_EQ(model.groups.size(), 2u);
    EXPECT_EQ(model.groups[1][1].index[2], 3);
    EXPECT_EQ(model.flags, ModelFlags::FloatPositions | ModelFlags::HasGroupCount);
}

TEST(ModelWriter, QuantisedPositionsStayWithinHalfAStep)
{
    ModelSource source = tetrahedron();
    source.positions[4] = 0.123456f;
    ParsedModel model = roundTrip(source, PositionEncoding::Quantised);
    float tolerance = quantisationError(source);
    EXPECT_LT(tolerance, 1.5f / 65535.0f);
    for (size_t i = 0; i < source.positions.size(); ++i)
        EXPECT_NEAR(model.positions[i], source.positions[i], tolerance) << i;
}

TEST(ModelWriter, OneGroupIsWrittenWithoutACountAndTexturedRecordsKeepUv)
{
    ModelSource source;
    source.textured = true;
    source.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    source.groups = {{{{0, 1, 2}, {0, 0, 65535, 0, 0, 65535}}}};
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encodeModelFile(source, PositionEncoding::Float, bytes, error));
    EXPECT_EQ(bytes.size(), 3u + 36u + 2u + 18u);
    ParsedModel model = roundTrip(source, PositionEncoding::Float);
    EXPECT_EQ(model.flags, ModelFlags::FloatPositions | ModelFlags::Textured);
    EXPECT_EQ(model.groups[0][0].uv[2], 65535);
}

TEST(ModelWriter, RefusesWhatTheFormatCannotHold)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ModelSource source = tetrahedron();
    source.groups[0][0].index[1] = 4;
    EXPECT_FALSE(encodeModelFile(source, PositionEncoding::Float, bytes, error));
    EXPECT_EQ(error, "vertex index 4 out of range");

    source = tetrahedron();
    source.positions.resize(3 * 65536, 0.0f);
    EXPECT_FALSE(encodeModelFile(source, PositionEncoding::Quantised, bytes, error));

    source = tetrahedron();
    source.groups.assign(1, std::vector<ModelSourceTriangle>(65536, ModelSourceTriangle{{0, 1, 2}}));
    EXPECT_FALSE(encodeModelFile(source, PositionEncoding::Quantised, bytes, error));

    source = tetrahedron();
    source.positions[0] = NAN;
    EXPECT_FALSE(encodeModelFile(source, PositionEncoding::Float, bytes, error));
    EXPECT_EQ(error, "position not finite");
}
