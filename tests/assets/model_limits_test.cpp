// Hostile model files: counts that the file's bytes cannot hold, or that add up past the
// loader's limit, are refused before memory is set aside for them, and running out of memory
// refuses the file instead of ending the program.
#include "assets/allocation_probe.h"
#include "assets/model.h"
#include "assets/model_bytes.h"
#include "assets/model_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Far below what any of the crafted counts would ask for, far above the few small strings
// and vectors a refusal itself takes.
constexpr size_t smallAllocation = 4096;

// Parses `bytes` and returns the refusal's reason ("" if it was accepted), watching the
// largest allocation the parser makes.
std::string refusal(const std::vector<uint8_t>& bytes, size_t& largest)
{
    ParsedModel model;
    std::string error;
    resetLargestAllocation();
    bool parsed = parseModelFile(bytes.data(), bytes.size(), model, error);
    largest = largestAllocation();
    return parsed ? "" : error;
}

// One vertex at the origin and `triangles` plain triangles on it, in groups of at most 65535.
std::vector<uint8_t> plainModelWith(size_t triangles)
{
    size_t groups = (triangles + 65534) / 65535;
    ModelBytes file;
    file.u8(ModelFlags::FloatPositions | ModelFlags::HasGroupCount).u16({1}).u16({uint16_t(groups)});
    file.f32({0, 0, 0});
    file.bytes.reserve(file.bytes.size() + 2 * groups + 6 * triangles);
    for (size_t left = triangles; left > 0;) {
        uint16_t count = uint16_t(left < 65535 ? left : 65535);
        file.u16({count});
        file.bytes.resize(file.bytes.size() + 6 * size_t(count), 0);
        left -= count;
    }
    return file.bytes;
}

}  // namespace

TEST(ModelLimits, CountsTheFileCannotHoldAreRefusedBeforeMemoryIsSetAside)
{
    size_t largest = 0;

    // 65535 groups announced in a 53-byte file.
    std::vector<uint8_t> groups = ModelBytes()
                                      .u8(ModelFlags::FloatPositions | ModelFlags::HasGroupCount)
                                      .u16({3})
                                      .u16({65535})
                                      .f32({0, 0, 0, 1, 0, 0, 0, 1, 0})
                                      .u16({1})
                                      .u16({0, 1, 2})
                                      .bytes;
    EXPECT_EQ(refusal(groups, largest), "truncated group record");
    EXPECT_LT(largest, smallAllocation);

    // 65535 vertices announced, none stored.
    std::vector<uint8_t> vertices = ModelBytes().u8(ModelFlags::FloatPositions).u16({65535}).bytes;
    EXPECT_EQ(refusal(vertices, largest), "position block reaches past the end of the file");
    EXPECT_LT(largest, smallAllocation);

    // 65535 textured triangles announced, one stored.
    std::vector<uint8_t> triangles = ModelBytes()
                                         .u8(ModelFlags::FloatPositions | ModelFlags::Textured)
                                         .u16({3})
                                         .f32({0, 0, 0, 1, 0, 0, 0, 1, 0})
                                         .u16({65535})
                                         .u16({0, 0, 0, 1, 0, 0, 2, 0, 0})
                                         .bytes;
    EXPECT_EQ(refusal(triangles, largest), "triangle records reach past the end of the file");
    EXPECT_LT(largest, smallAllocation);
}

TEST(ModelLimits, TrianglesPastTheLoadersLimitAreRefusedBeforeMemoryIsSetAside)
{
    size_t largest = 0;
    std::vector<uint8_t> over = plainModelWith(maxModelTriangles + 1);
    EXPECT_EQ(refusal(over, largest), "triangle total over the loader's limit");
    EXPECT_LT(largest, smallAllocation);

    std::vector<uint8_t> atTheLimit = plainModelWith(maxModelTriangles);
    EXPECT_EQ(refusal(atTheLimit, largest), "") << "exactly the limit is taken";
}

TEST(ModelLimits, RunningOutOfMemoryRefusesTheFileWithTheModelMessage)
{
    std::filesystem::create_directories("test-output");
    const std::string path = "test-output/model-limits-thousand-triangles.3d";
    std::vector<uint8_t> bytes = plainModelWith(1000);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    // The thousand triangles take 56 kB parsed: the parser's first large request fails. The
    // model is refused before its upload, so no GL context is needed.
    Model model;
    testing::internal::CaptureStderr();
    failAllocationsAbove(16384);
    bool loaded = true;
    EXPECT_NO_THROW(loaded = model.load(path.c_str()));
    failAllocationsAbove(0);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Model file error: " + path + ": not enough memory for the model\n");
    EXPECT_EQ(model.triangleCount, 0u);
    EXPECT_EQ(model.vertexArray, 0u);
    EXPECT_TRUE(model.groups.empty());
}
