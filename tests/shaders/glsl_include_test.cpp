// The include expansion of the shader files, on a folder the test writes: each file is taken in
// once with the "#line" lines that keep the driver's line numbers true, and every way an include
// can fail is one line naming the file and the line.
#include "core/glsl_include.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class IncludeFolder : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("show-include-test-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "common");
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& text) { std::ofstream(folder / name) << text; }

    ExpandedGlsl expand(const std::string& stage)
    {
        return expandGlslIncludes(stage, (folder / "Stage.fs").string(), folder.string());
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
};

}  // namespace

TEST_F(IncludeFolder, EachFileIsTakenInOnceWithTheLinesNumberedByFile)
{
    write("common/a.glsl", "float a() { return 1.0; }\n");
    // b needs a itself, and has no last newline.
    write("common/b.glsl", "#include \"common/a.glsl\"\nfloat b() { return a(); }");
    const ExpandedGlsl expanded = expand("#version 330 core\n"
                                         "  #  include   \"common/b.glsl\"  \r\n"
                                         "#include \"common/a.glsl\"\n"
                                         "#included\n"
                                         "void main() {}\n");
    EXPECT_EQ(expanded.error, "");
    EXPECT_EQ(expanded.text, "#version 330 core\n"
                             "#line 1 1\n"
                             "#line 1 2\n"
                             "float a() { return 1.0; }\n"
                             "#line 2 1\n"
                             "float b() { return a(); }\n"
                             "#line 3 0\n"
                             "#line 4 0\n"
                             "#included\n"
                             "void main() {}\n");
    ASSERT_EQ(expanded.files.size(), 3u);
    EXPECT_EQ(expanded.files[1], path("common/b.glsl"));
    EXPECT_EQ(expanded.files[2], path("common/a.glsl"));

    // Without includes the text is the stage's own, byte for byte, cut or not.
    const std::string plain("#version 330 core\nvoid main() {}\0\x01\x80 #inc", 40);
    EXPECT_EQ(expand(plain).text, plain);
}

TEST_F(IncludeFolder, AFailedIncludeIsOneLineNamingTheFileAndLine)
{
    const std::string stage = path("Stage.fs");
    const ExpandedGlsl missing = expand("#version 330 core\n\n#include \"common/none.glsl\"\n");
    EXPECT_EQ(missing.error, stage + ":3: cannot open the included " + path("common/none.glsl"));
    EXPECT_EQ(missing.text, "");

    // A cycle through two files, and a file that includes itself.
    write("common/a.glsl", "#include \"common/b.glsl\"\n");
    write("common/b.glsl", "float b;\n#include \"common/a.glsl\"\n");
    write("common/self.glsl", "#include \"common/self.glsl\"\n");
    EXPECT_EQ(expand("#include \"common/a.glsl\"\n").error,
              path("common/b.glsl") + ":2: including " + path("common/a.glsl") + " closes a cycle (" + stage + " > " +
                  path("common/a.glsl") + " > " + path("common/b.glsl") + " > " + path("common/a.glsl") + ")");
    EXPECT_NE(expand("#include \"common/self.glsl\"\n").error.find(path("common/self.glsl") + ":1: including"),
              std::string::npos);

    // A folder is no file; a line that starts as an include must name one in quotes, alone.
    EXPECT_NE(expand("#include \"common\"\n").error.find(":1: cannot open"), std::string::npos);
    for (const char* malformed : {"#include common/a.glsl", "#include \"common/a.glsl", "#include \"\"",
                                  "#include \"common/a.glsl\" // why", "#include <common/a.glsl>", "#include"}) {
        const ExpandedGlsl expanded = expand(std::string("float x;\n") + malformed + "\n");
        EXPECT_EQ(expanded.error, stage + ":2: an include line must read #include \"<file>\" and nothing more")
            << malformed;
    }
}
