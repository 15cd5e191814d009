// The driver check for double-precision uniforms: the rule on its own, then on llvmpipe as it
// is and as Mesa's overrides make it look like a 3.3 driver without ARB_gpu_shader_fp64. Each
// case runs in a process of its own under ctest, so the overrides are set before the context.
#include "core/gl_api.h"
#include "core/gl_requirements.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(DoublePrecisionUniforms, VersionFourOrTheExtensionDecides)
{
    EXPECT_TRUE(offersDoublePrecisionUniforms("4.0", false));
    EXPECT_TRUE(offersDoublePrecisionUniforms("4.5 (Core Profile) Mesa 22.3.6", false));
    EXPECT_TRUE(offersDoublePrecisionUniforms("10.2 future", false));
    EXPECT_TRUE(offersDoublePrecisionUniforms("3.3.0 NVIDIA 340.108", true));
    EXPECT_FALSE(offersDoublePrecisionUniforms("3.3 (Core Profile) Mesa 22.3.6", false));
    // "3.10" is minor version ten, not 3.1 and not above 4.
    EXPECT_FALSE(offersDoublePrecisionUniforms("3.10", false));
    EXPECT_FALSE(offersDoublePrecisionUniforms("OpenGL ES 3.2 Mesa", false));
    EXPECT_FALSE(offersDoublePrecisionUniforms("", false));
    EXPECT_FALSE(offersDoublePrecisionUniforms(nullptr, false));
    EXPECT_TRUE(offersDoublePrecisionUniforms(nullptr, true));

    const std::string line = missingDoublePrecisionLine("3.3 (Core Profile) Mesa 22.3.6", "llvmpipe (LLVM 15)");
    EXPECT_EQ(line, "The show needs double-precision uniforms (OpenGL 4.0 or the ARB_gpu_shader_fp64 extension); "
                    "this driver offers OpenGL 3.3 (Core Profile) Mesa 22.3.6 on llvmpipe (LLVM 15) without them.");
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_NE(missingDoublePrecisionLine(nullptr, nullptr).find("no stated version"), std::string::npos);
}

TEST(DoublePrecisionUniforms, LlvmpipeOffersThem)
{
    ASSERT_TRUE(ensureGLContext());
    std::string failure;
    EXPECT_TRUE(checkDoublePrecisionUniforms(failure)) << failure;
    EXPECT_TRUE(failure.empty());
}

TEST(DoublePrecisionUniforms, ADriverWithoutThemIsNamedByVersionAndRenderer)
{
    setenv("MESA_GL_VERSION_OVERRIDE", "3.3", 1);
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_gpu_shader_fp64", 1);
    ASSERT_TRUE(ensureGLContext());
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version.rfind("3.3", 0) != 0)
        GTEST_SKIP() << "the context was made before the overrides (OpenGL " << version
                     << "): run this case on its own, as ctest does";
    std::string failure;
    EXPECT_FALSE(checkDoublePrecisionUniforms(failure));
    EXPECT_EQ(failure,
              missingDoublePrecisionLine(version.c_str(), reinterpret_cast<const char*>(glGetString(GL_RENDERER))));
    EXPECT_NE(failure.find("llvmpipe"), std::string::npos) << failure;
}

TEST(DoublePrecisionUniforms, AThreeThreeDriverWithTheExtensionOffersThem)
{
    setenv("MESA_GL_VERSION_OVERRIDE", "3.3", 1);
    ASSERT_TRUE(ensureGLContext());
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version.rfind("3.3", 0) != 0)
        GTEST_SKIP() << "the context was made before the override (OpenGL " << version
                     << "): run this case on its own, as ctest does";
    std::string failure;
    EXPECT_TRUE(checkDoublePrecisionUniforms(failure)) << failure;
}
