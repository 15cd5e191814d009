// Real uploads on the driver: every channel count at widths whose rows are not a multiple of
// four bytes, read back texel for texel, with the parameters the flags ask for.
#include "assets/textures.h"

#include "core/gl_api.h"
#include "support/gl_context.h"

#include <stb/stb_image_write.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string writePng(const std::string& name, int width, int height, int channels, std::vector<uint8_t>& pixels)
{
    pixels.resize(size_t(width) * size_t(height) * size_t(channels));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 53 % 241);
    std::filesystem::create_directories("test-output");
    std::string path = "test-output/" + name + ".png";
    EXPECT_TRUE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels));
    return path;
}

int driverMaxTextureSize()
{
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

}  // namespace

TEST(TextureUpload, OddWidthsOfEveryChannelCountArriveIntact)
{
    ASSERT_TRUE(ensureGLContext());
    const GLenum formats[] = {GL_RED, GL_RG, GL_RGB, GL_RGBA};
    for (int channels = 1; channels <= 4; ++channels)
        for (int width : {1, 3, 5, 13}) {
            std::vector<uint8_t> pixels;
            std::string path = writePng("upload-" + std::to_string(channels) + "x" + std::to_string(width), width, 6,
                                        channels, pixels);
            GLuint name = 0;
            glGenTextures(1, &name);
            ASSERT_TRUE(loadTextureFile(name, path.c_str(), TextureFlags::TexClamp, 1.0f, driverMaxTextureSize()));
            GLint internal = 0, storedWidth = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &storedWidth);
            EXPECT_EQ(GLenum(internal), formats[channels - 1]);
            EXPECT_EQ(storedWidth, width);
            std::vector<uint8_t> back(pixels.size());
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, formats[channels - 1], GL_UNSIGNED_BYTE, back.data());
            glPixelStorei(GL_PACK_ALIGNMENT, 4);
            EXPECT_EQ(back, pixels) << channels << " channels, width " << width;
            GLint alignment = 0;
            glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
            EXPECT_EQ(alignment, 4) << "the default unpack state is restored";
            glDeleteTextures(1, &name);
        }
}

TEST(TextureUpload, ParametersFollowTheFlagsAndMipmapsExist)
{
    ASSERT_TRUE(ensureGLContext());
    std::vector<uint8_t> pixels;
    std::string path = writePng("params", 16, 8, 3, pixels);
    GLuint name = 0;
    glGenTextures(1, &name);
    ASSERT_TRUE(loadTextureFile(name, path.c_str(), TextureFlags::TexNearest | TextureFlags::TexSrgb, 1.0f,
                                driverMaxTextureSize()));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    // The loader asks for unsized GL_SRGB; a driver may answer that or the size it chose.
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_TRUE(GLenum(value) == GL_SRGB || GLenum(value) == GL_SRGB8) << std::hex << value;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 1) << "the mip-map chain reaches 1 x 1";
}

TEST(TextureUpload, ImagesUpToTheDriversLimitLoadAndWiderOnesAreRefused)
{
    ASSERT_TRUE(ensureGLContext());
    const int limit = driverMaxTextureSize();
    // OpenGL 3.3 promises 1024; every driver the show runs on gives more than the 4096 pixels
    // the loader once stopped at.
    ASSERT_GT(limit, 4096);
    std::vector<uint8_t> pixels;
    std::string widest = writePng("as-wide-as-the-driver-allows", limit, 2, 1, pixels);
    GLuint name = 0;
    glGenTextures(1, &name);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(loadTextureFile(name, widest.c_str(), TextureFlags::TexClamp, 1.0f, limit));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    GLint storedWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &storedWidth);
    EXPECT_EQ(storedWidth, limit);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDeleteTextures(1, &name);

    std::string wider = writePng("wider-than-the-driver-allows", limit + 1, 1, 1, pixels);
    glGenTextures(1, &name);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadTextureFile(name, wider.c_str(), TextureFlags::TexClamp, 1.0f, limit));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Image file error: " + wider + ";");
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "refused before the upload";
    glDeleteTextures(1, &name);
}

TEST(TextureUpload, TheShowsFiveTexturesLoad)
{
    ASSERT_TRUE(ensureGLContext());
    testing::internal::CaptureStderr();
    EXPECT_TRUE(loadTextures());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // The software driver the tests run on decodes a compressed texture at every read.
    for (uint32_t name : textureNames) {
        ASSERT_NE(name, 0u);
        GLint compressed = GL_TRUE;
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED, &compressed);
        EXPECT_EQ(compressed, GL_FALSE) << "texture " << name;
    }
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, textureNames[textureEntry::environment]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
}
