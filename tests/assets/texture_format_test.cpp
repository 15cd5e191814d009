// The texture loader's choices and its failure reports, without a GL context: every failure
// is reported before the first GL call.
#include "assets/image_decode.h"
#include "assets/textures.h"

#include "app/gl_api.h"

#include <stb/stb_image_write.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::vector<uint8_t> pngOf(int width, int height, int channels)
{
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * size_t(channels));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 37 % 251);
    std::vector<uint8_t> bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<uint8_t>*>(context);
            out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        },
        &bytes, width, height, channels, pixels.data(), width * channels);
    return bytes;
}

std::string writeTemp(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories("test-output");
    std::string path = "test-output/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

}  // namespace

TEST(TextureFormat, ChannelsAndFlagsPickTheFormats)
{
    using namespace TextureFlags;
    struct Case {
        int channels;
        uint8_t flags;
        GLenum pixel;
        GLint internal;
    };
    const Case cases[] = {
        {1, 0, GL_RED, GL_RED},
        {1, TexCompressed, GL_RED, GL_COMPRESSED_RED},
        {1, TexSrgb, GL_RED, GL_RED},
        {1, TexSrgb | TexCompressed, GL_RED, GL_COMPRESSED_RED},
        {2, TexSrgb, GL_RG, GL_RG},
        {2, TexCompressed, GL_RG, GL_COMPRESSED_RG},
        {3, 0, GL_RGB, GL_RGB},
        {3, TexCompressed, GL_RGB, GL_COMPRESSED_RGB},
        {3, TexSrgb, GL_RGB, GL_SRGB},
        {3, 0x1A, GL_RGB, GL_COMPRESSED_SRGB},   // the table's "2d/Dirt.jpg" entry
        {4, 0, GL_RGBA, GL_RGBA},
        {4, TexCompressed, GL_RGBA, GL_COMPRESSED_RGBA},
        {4, TexSrgb, GL_RGBA, GL_SRGB_ALPHA},
        {4, 0x1A, GL_RGBA, GL_COMPRESSED_SRGB_ALPHA},
    };
    for (const Case& c : cases) {
        TextureFormat format;
        ASSERT_TRUE(chooseTextureFormat(c.channels, c.flags, format));
        EXPECT_EQ(format.pixelFormat, c.pixel) << c.channels << " channels, flags " << int(c.flags);
        EXPECT_EQ(format.internalFormat, c.internal) << c.channels << " channels, flags " << int(c.flags);
    }
    TextureFormat format;
    EXPECT_FALSE(chooseTextureFormat(0, 0, format));
    EXPECT_FALSE(chooseTextureFormat(5, 0, format));
}

TEST(TextureFormat, FlagsPickFilteringAndWrapping)
{
    TextureSampling env = chooseTextureSampling(textureTable[1].flags);
    EXPECT_EQ(env.minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(env.magFilter, GL_LINEAR);
    EXPECT_EQ(env.wrap, GL_CLAMP_TO_EDGE);
    for (int i : {0, 2, 3, 4})
        EXPECT_EQ(chooseTextureSampling(textureTable[i].flags).wrap, GL_REPEAT) << textureTable[i].file;
    TextureSampling nearest = chooseTextureSampling(TextureFlags::TexNearest);
    EXPECT_EQ(nearest.minFilter, GL_NEAREST);
    EXPECT_EQ(nearest.magFilter, GL_NEAREST);
}

TEST(ImageDecoding, KeepsTheStoredChannelCount)
{
    for (int channels = 1; channels <= 4; ++channels) {
        std::vector<uint8_t> png = pngOf(7, 3, channels);
        DecodedImage image;
        std::string error;
        ASSERT_TRUE(decodeImage(png.data(), png.size(), image, error)) << error;
        EXPECT_EQ(image.channels, channels) << "a grey PNG stays grey";
        EXPECT_EQ(image.width, 7);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.pixels.get()[5], uint8_t(5 * 37 % 251));
    }
}

TEST(ImageDecoding, RefusesOversizedAndBrokenImagesFromTheirHeaders)
{
    DecodedImage image;
    std::string error;
    std::vector<uint8_t> widest = pngOf(maxImageDimension, 1, 1);
    EXPECT_TRUE(decodeImage(widest.data(), widest.size(), image, error)) << error;
    std::vector<uint8_t> wide = pngOf(maxImageDimension + 1, 1, 1);
    EXPECT_FALSE(decodeImage(wide.data(), wide.size(), image, error));
    EXPECT_EQ(image.pixels, nullptr);

    // A PNG header claiming 60000 x 60000: refused before any pixel memory is asked for.
    std::vector<uint8_t> huge = pngOf(1, 1, 1);
    huge[16] = 0, huge[17] = 0, huge[18] = 0xEA, huge[19] = 0x60;
    huge[20] = 0, huge[21] = 0, huge[22] = 0xEA, huge[23] = 0x60;
    EXPECT_FALSE(decodeImage(huge.data(), huge.size(), image, error));
    EXPECT_EQ(image.pixels, nullptr);

    std::vector<uint8_t> png = pngOf(8, 8, 3);
    std::vector<uint8_t> cut(png.begin(), png.begin() + long(png.size() / 2));
    EXPECT_FALSE(decodeImage(cut.data(), cut.size(), image, error));
    const uint8_t text[] = "not an image at all";
    EXPECT_FALSE(decodeImage(text, sizeof text, image, error));
    EXPECT_FALSE(decodeImage(nullptr, 0, image, error));
}

TEST(ImageDecoding, RefusesAJpegHuffmanTableOfMoreThan256Codes)
{
    // SOI, then a DHT segment whose 16 counts add up to 272: the decoder would write past its
    // table; the loader refuses the file instead.
    std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0x23, 0x00};
    for (int i = 0; i < 16; ++i)
        jpeg.push_back(17);
    jpeg.resize(jpeg.size() + 272, 0);
    jpeg.insert(jpeg.end(), {0xFF, 0xD9});
    DecodedImage image;
    std::string error;
    EXPECT_FALSE(decodeImage(jpeg.data(), jpeg.size(), image, error));
    EXPECT_EQ(error, "JPEG Huffman table of more than 256 codes");
}

TEST(TextureLoading, UnreadableAndUndecodableFilesGetTheOneReport)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadTextureFile(0, "2d/no-such-image.png", 0x10, 1.0f));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Image file error: 2d/no-such-image.png;");

    std::string path = writeTemp("broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadTextureFile(0, path.c_str(), 0x10, 1.0f));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Image file error: " + path + ";");
}
