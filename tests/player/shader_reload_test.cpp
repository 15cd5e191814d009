// Shader reload on the show's own programs, headless: a stage file that no longer compiles keeps
// the last good program and reports its log; a file that compiles takes effect at the next
// reload; restoring the file brings the original picture back. The test works on a copy of the
// shader folder, so the real one is never touched.
#include "headless_show.h"
#include "player_frame.h"

#include "app/frame_loop.h"
#include "platform/platform_headless.h"
#include "render/shader_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t width = 160, height = 90;
constexpr double frameTime = 90.0;

std::string readText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<uint8_t> frameAt(Show& show, double t)
{
    runFrameAt(show, t, drawPlayerFrame);
    uint32_t w = 0, h = 0;
    return readPresentedFrame(w, h);
}

// A data folder of links to the real data, but a copy of shaders/, entered for the whole test.
fs::path makeDataCopy()
{
    const fs::path real = fs::current_path();
    const fs::path copy = fs::temp_directory_path() / ("shader_reload_" + std::to_string(::getpid()));
    fs::remove_all(copy);
    fs::create_directories(copy);
    for (const auto& entry : fs::directory_iterator(real))
        if (entry.path().filename() != "shaders")
            fs::create_symlink(entry.path(), copy / entry.path().filename());
    fs::copy(real / "shaders", copy / "shaders", fs::copy_options::recursive);
    fs::current_path(copy);
    return copy;
}

}

TEST(ShaderReload, BrokenFileKeepsTheLastGoodProgramAndAFixedOneTakesEffect)
{
    const fs::path copy = makeDataCopy();
    int exitStatus = 0;
    Show* show = startHeadlessShow(width, height, exitStatus);
    ASSERT_NE(show, nullptr);
    const fs::path combine = copy / "shaders" / "Combine.fs";
    const std::string original = readText(combine);
    ASSERT_FALSE(original.empty());

    const std::vector<uint8_t> before = frameAt(*show, frameTime);
    EXPECT_EQ(reloadShaders(), 0) << "unchanged files all build again";
    EXPECT_EQ(frameAt(*show, frameTime), before) << "a reload of the same files draws the same frame";

    // Broken: the old program stays, the log names the fault, nothing ends.
    writeText(combine, original + "\nthis is not GLSL;\n");
    testing::internal::CaptureStderr();
    const int kept = reloadShaders();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(kept, 1) << "only Flat/Combine uses Combine.fs";
    EXPECT_NE(report.find("shaders/Combine.fs does not compile"), std::string::npos) << report;
    EXPECT_NE(report.find("error"), std::string::npos) << "the compile log: " << report;
    EXPECT_EQ(frameAt(*show, frameTime), before) << "the last good program still draws";

    // Compiling again, but painting everything magenta: the next reload shows it.
    std::string magenta = original;
    const size_t mainAt = magenta.find("void main()");
    ASSERT_NE(mainAt, std::string::npos);
    magenta.replace(mainAt, 11, "void originalMain()");
    magenta += "\nvoid main()\n{\n    originalMain();\n    O0 = vec4(1.0, 0.0, 1.0, 1.0);\n}\n";
    writeText(combine, magenta);
    EXPECT_EQ(reloadShaders(), 0);
    const std::vector<uint8_t> painted = frameAt(*show, frameTime);
    ASSERT_EQ(painted.size(), before.size());
    const size_t centre = (size_t(height / 2) * width + width / 2) * 4;
    EXPECT_EQ(painted[centre], 255);
    EXPECT_EQ(painted[centre + 1], 0);
    EXPECT_EQ(painted[centre + 2], 255);

    // Restored: the original picture again.
    writeText(combine, original);
    EXPECT_EQ(reloadShaders(), 0);
    EXPECT_EQ(frameAt(*show, frameTime), before);

    fs::current_path(copy.parent_path());
    fs::remove_all(copy);
}
