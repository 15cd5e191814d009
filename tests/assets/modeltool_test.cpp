// The model tool's OBJ conversion on files written by hand, as another program would.
#include "obj_convert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string writeObj(const std::string& name, const std::string& text)
{
    std::filesystem::create_directories("test-output");
    std::string path = "test-output/" + name + ".obj";
    std::ofstream(path) << text;
    return path;
}

// A unit cube: quads, one smoothing group per face, plus a flat triangle cap outside any
// group.
const char* cubeObj = R"(# cube
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 0 0 1
v 1 0 1
v 1 1 1
v 0 1 1
s 1
f 1 4 3 2
s 2
f 5 6 7 8
s 3
f 1 2 6 5
s 4
f 4 8 7 3
s 5
f 1 5 8 4
s 6
f 2 3 7 6
s off
f 1 2 3
f 1 3 4
)";

ParsedModel encodeAndParse(const ModelSource& source, PositionEncoding encoding)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(encodeModelFile(source, encoding, bytes, error)) << error;
    ParsedModel model;
    EXPECT_TRUE(parseModelFile(bytes.data(), bytes.size(), model, error)) << error;
    return model;
}

std::vector<std::vector<std::array<uint16_t, 3>>> triangleIndices(const ParsedModel& model)
{
    std::vector<std::vector<std::array<uint16_t, 3>>> groups;
    for (const ModelGroup& group : model.groups) {
        groups.emplace_back();
        for (const ModelTriangle& t : group)
            groups.back().push_back({t.index[0], t.index[1], t.index[2]});
    }
    return groups;
}

}  // namespace

TEST(ObjImport, SmoothingGroupsBecomeGroupsAndUngroupedFacesStayFlat)
{
    ObjImport imported;
    std::string error;
    ASSERT_TRUE(importObj(writeObj("cube", cubeObj), imported, error)) << error;
    EXPECT_FALSE(imported.model.textured);
    EXPECT_EQ(imported.model.positions.size(), 24u);
    // Six smoothing groups of two triangles, then the two "s off" triangles alone.
    ASSERT_EQ(imported.model.groups.size(), 8u);
    for (size_t g = 0; g < 6; ++g)
        EXPECT_EQ(imported.model.groups[g].size(), 2u);
    EXPECT_EQ(imported.model.groups[6].size(), 1u);
    EXPECT_EQ(imported.model.groups[7].size(), 1u);
    EXPECT_EQ(imported.model.groups[0][0].index[1], 3) << "OBJ counts from 1";
}

TEST(ObjImport, ExportAndImportAgainKeepTheTriangles)
{
    ObjImport first;
    std::string error;
    ASSERT_TRUE(importObj(writeObj("cube", cubeObj), first, error)) << error;
    ParsedModel model = encodeAndParse(first.model, PositionEncoding::Float);
    std::ostringstream text;
    exportObj(model, "cube", text);
    ObjImport second;
    ASSERT_TRUE(importObj(writeObj("cube-again", text.str()), second, error)) << error;
    ParsedModel again = encodeAndParse(second.model, PositionEncoding::Float);
    EXPECT_EQ(triangleIndices(again), triangleIndices(model));
    EXPECT_EQ(again.positions, model.positions);
}

TEST(ObjImport, TextureCoordinatesAreKeptTurnedOverAndClamped)
{
    const char* quad = R"(v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
vt 0 0
vt 1 0
vt 1 1
vt 0 1.5
f 1/1 2/2 3/3 4/4
)";
    ObjImport imported;
    std::string error;
    ASSERT_TRUE(importObj(writeObj("quad", quad), imported, error)) << error;
    ASSERT_TRUE(imported.model.textured);
    ASSERT_EQ(imported.model.groups.size(), 1u) << "no smoothing groups: one smooth group";
    const ModelSourceTriangle& first = imported.model.groups[0][0];
    EXPECT_EQ(first.uv[0], 0);
    EXPECT_EQ(first.uv[1], 65535) << "OBJ v = 0 is the last image row";
    EXPECT_EQ(first.uv[2], 65535);
    EXPECT_GT(imported.clampedTextureCoordinates, 0u) << "v = 1.5 is clamped, at each corner that uses it";

    ParsedModel model = encodeAndParse(imported.model, PositionEncoding::Quantised);
    std::ostringstream text;
    exportObj(model, "quad", text);
    ObjImport again;
    ASSERT_TRUE(importObj(writeObj("quad-again", text.str()), again, error)) << error;
    EXPECT_EQ(again.model.groups[0][1].uv[5], imported.model.groups[0][1].uv[5]);
}

TEST(ObjImport, BadFilesAreRefusedWithAReason)
{
    ObjImport imported;
    std::string error;
    EXPECT_FALSE(importObj("test-output/no-such-file.obj", imported, error));
    EXPECT_NE(error.find("no-such-file.obj"), std::string::npos) << error;

    EXPECT_FALSE(importObj(writeObj("points", "v 0 0 0\nv 1 0 0\n"), imported, error));
    EXPECT_EQ(error, "no faces in test-output/points.obj");

    std::string many;
    for (int i = 0; i < 65536; ++i)
        many += "v " + std::to_string(i) + " 0 0\n";
    many += "f 1 2 3\n";
    EXPECT_FALSE(importObj(writeObj("many", many), imported, error));
    EXPECT_EQ(error, "more than 65535 vertices (65536)");
}
