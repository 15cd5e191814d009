#include "core/glsl_es_dialect.h"

#include <regex>
#include <set>

namespace {

const char* const esPreamble = "#version 300 es\n"
                               "precision highp float;\n"
                               "precision highp int;\n"
                               "precision highp sampler2D;\n"
                               "precision highp samplerCube;\n"
                               "precision highp sampler3D;\n";

// Rectangle textures were addressed in texels; a 2D texture of the same size is addressed in
// fractions of it, so the helpers divide by its size.
const char* const rectangleHelpers =
    "vec4 showRectTexture(sampler2D s, vec2 p) { return texture(s, p / vec2(textureSize(s, 0))); }\n"
    "vec4 showRectFetch(sampler2D s, ivec2 p) { return texelFetch(s, p, 0); }\n";

const char* const srgbEncoding =
    "uniform bool showEncodeSrgb;\n"
    "vec3 showSrgbEncode(vec3 c)\n"
    "{\n"
    "    c = clamp(c, 0.0, 1.0);\n"
    "    return mix(c * 12.92, 1.055 * pow(c, vec3(1.0 / 2.4)) - 0.055, step(vec3(0.0031308), c));\n"
    "}\n"
    "void main()\n"
    "{\n"
    "    showStageMain();\n"
    "    if (showEncodeSrgb)\n"
    "        O0.rgb = showSrgbEncode(O0.rgb);\n"
    "}\n";

// Every name declared with a rectangle sampler type, as a uniform or a parameter.
std::set<std::string> rectangleSamplerNames(const std::string& source)
{
    std::set<std::string> names;
    const std::regex declaration(R"(\bsampler2DRect\s+([A-Za-z_][A-Za-z0-9_]*))");
    for (auto it = std::sregex_iterator(source.begin(), source.end(), declaration); it != std::sregex_iterator(); ++it)
        names.insert((*it)[1].str());
    return names;
}

std::string replaceAll(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    return std::regex_replace(text, std::regex(pattern), replacement);
}

}  // namespace

std::string toGlslEs300(const std::string& source, bool fragmentStage)
{
    std::string text = replaceAll(source, R"(#version\s+330(\s+core)?[^\n]*\n)", "");
    text = replaceAll(text, R"(#extension\s+GL_ARB_gpu_shader_fp64[^\n]*\n)", "");

    for (const std::string& name : rectangleSamplerNames(text)) {
        text = replaceAll(text, R"(\btexture\s*\(\s*)" + name + R"(\s*,)", "showRectTexture(" + name + ",");
        text = replaceAll(text, R"(\btexelFetch\s*\(\s*)" + name + R"(\s*,)", "showRectFetch(" + name + ",");
        text = replaceAll(text, R"(\btextureSize\s*\(\s*)" + name + R"(\s*\))", "textureSize(" + name + ", 0)");
    }
    const bool usesRectangles = text.find("sampler2DRect") != std::string::npos;
    text = replaceAll(text, R"(\bsampler2DRect\b)", "sampler2D");

    text = replaceAll(text, R"(\bdouble\b)", "float");
    text = replaceAll(text, R"(\bdvec([234])\b)", "vec$1");
    text = replaceAll(text, R"(\bdmat([234])\b)", "mat$1");
    text = replaceAll(text, R"(((?:\d+\.\d*|\.\d+|\d+)(?:[eE][-+]?\d+)?)lf\b)", "$1");

    bool encodes = false;
    if (fragmentStage) {
        text = replaceAll(text, R"((^|\n)\s*out\s+(\w+)\s+O([0-3])\s*;)", "$1layout(location = $3) out $2 O$3;");
        encodes = std::regex_search(text, std::regex(R"(layout\(location = 0\) out vec4 O0;)"));
        if (encodes)
            text = replaceAll(text, R"(\bvoid\s+main\s*\(\s*\))", "void showStageMain()");
    }

    std::string result = esPreamble;
    if (usesRectangles)
        result += rectangleHelpers;
    result += text;
    if (encodes)
        result += srgbEncoding;
    return result;
}
