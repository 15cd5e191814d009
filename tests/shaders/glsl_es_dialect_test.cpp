// The web build's rewrite of the shaders into GLSL ES 3.00: every real stage comes out as a
// stage the reference compiler accepts as ES 3.00, and the rewrite keeps what the desktop
// stage meant (texel addressing, output places, precision, the presenting pass's encoding).
#include "core/glsl_es_dialect.h"
#include "core/glsl_include.h"
#include "core/load_whole_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>

namespace {

std::string readStage(const std::string& path)
{
    size_t size = 0;
    uint8_t* bytes = loadWholeFile(path.c_str(), &size);
    std::string text = bytes ? std::string(reinterpret_cast<char*>(bytes), size) : std::string();
    std::free(bytes);
    return text;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(GlslEsDialect, EveryStageBecomesValidEs300)
{
    DIR* folder = opendir("shaders");
    ASSERT_NE(folder, nullptr) << "run from the runnable folder";
    int stages = 0;
    while (dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        const bool fragment = endsWith(name, ".fs");
        if (!fragment && !endsWith(name, ".vs"))
            continue;
        const std::string path = "shaders/" + name;
        const ExpandedGlsl expanded = expandGlslIncludes(readStage(path), path, "shaders");
        ASSERT_EQ(expanded.error, "") << name;
        const std::string rewritten = toGlslEs300(expanded.text, fragment);
        const std::string out = testing::TempDir() + "es300_" + name + (fragment ? ".frag" : ".vert");
        std::ofstream(out) << rewritten;
        const std::string command = "glslangValidator " + out + " > " + out + ".log 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name << ":\n" << readStage(out + ".log");
        EXPECT_EQ(rewritten.rfind("#version 300 es\n", 0), 0u) << name;
        EXPECT_EQ(rewritten.find("sampler2DRect"), std::string::npos) << name;
        EXPECT_EQ(rewritten.find("double"), std::string::npos) << name;
        ++stages;
    }
    closedir(folder);
    EXPECT_EQ(stages, 26);
}

TEST(GlslEsDialect, KeepsWhatTheDesktopStageMeant)
{
    const std::string fragment = "#version 330 core\n"
                                 "uniform sampler2DRect S;\n"
                                 "uniform sampler2D E;\n"
                                 "out vec4 O0;\n"
                                 "out vec4 O2;\n"
                                 "vec4 blur(sampler2DRect image, vec2 p) { return texture(image, p); }\n"
                                 "void main()\n"
                                 "{\n"
                                 "    ivec2 last = textureSize(S) - 1;\n"
                                 "    O0 = texelFetch(S, last) + blur(S, gl_FragCoord.xy) + texture(E, vec2(0.5));\n"
                                 "    O2 = vec4(textureSize(E, 0), 0.0, 1.0);\n"
                                 "}\n";
    const std::string es = toGlslEs300(fragment, true);
    // Texel coordinates go through the helpers; a 2D texture keeps its own lookups.
    EXPECT_NE(es.find("showRectFetch(S, last)"), std::string::npos) << es;
    EXPECT_NE(es.find("return showRectTexture(image, p)"), std::string::npos) << es;
    EXPECT_NE(es.find("textureSize(S, 0) - 1"), std::string::npos) << es;
    EXPECT_NE(es.find("texture(E, vec2(0.5))"), std::string::npos) << es;
    EXPECT_NE(es.find("textureSize(E, 0)"), std::string::npos) << es;
    EXPECT_NE(es.find("precision highp float;"), std::string::npos);
    // Each output at the place its name gives, as glBindFragDataLocation put it.
    EXPECT_NE(es.find("layout(location = 0) out vec4 O0;"), std::string::npos);
    EXPECT_NE(es.find("layout(location = 2) out vec4 O2;"), std::string::npos);
    // One main, which runs the stage's own and then encodes where asked.
    EXPECT_NE(es.find("void showStageMain()"), std::string::npos);
    EXPECT_NE(es.find(std::string("uniform bool ") + srgbEncodeUniform), std::string::npos);
    EXPECT_EQ(es.find("void main()"), es.rfind("void main()"));

    const std::string vertex = "#version 330 core\n"
                               "#extension GL_ARB_gpu_shader_fp64 : require\n"
                               "uniform double time;\n"
                               "const double kRate = 0.75lf;\n"
                               "in vec4 A0;\n"
                               "out float scroll;\n"
                               "void main() { scroll = float(fract(time * kRate)); gl_Position = A0; }\n";
    const std::string esVertex = toGlslEs300(vertex, false);
    EXPECT_NE(esVertex.find("uniform float time;"), std::string::npos) << esVertex;
    EXPECT_NE(esVertex.find("const float kRate = 0.75;"), std::string::npos) << esVertex;
    EXPECT_EQ(esVertex.find("#extension"), std::string::npos);
    // A vertex stage's outputs are varyings: no places, no encoding.
    EXPECT_NE(esVertex.find("\nout float scroll;"), std::string::npos);
    EXPECT_EQ(esVertex.find(srgbEncodeUniform), std::string::npos);
}
