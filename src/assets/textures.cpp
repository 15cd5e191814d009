#include "assets/textures.h"

#include "assets/image_decode.h"
#include "assets/mip_chain.h"
#include "core/gl_api.h"
#include "core/load_whole_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// Driver enums of EXT_texture_filter_anisotropic (core only from OpenGL 4.6).
constexpr GLenum textureMaxAnisotropy = 0x84FE;
constexpr GLenum maxTextureMaxAnisotropy = 0x84FF;

// In the order of textureEntry.
const TextureEntry textureTable[textureCount] = {
    {"2d/ScratchNM_R.png", 0x10}, {"2d/env0.png", 0x0C},   {"2d/speedlines.png", 0x18},
    {"2d/Dirt.jpg", 0x1A},        {"2d/DirtNM.jpg", 0x10},
};

uint32_t textureNames[textureCount] = {};

bool loadTextureFile(uint32_t name, const char* path, uint8_t flags, float maxAnisotropy, int maxTextureSize)
{
    // An unreadable file and an undecodable one get the same single report.
    size_t size = 0;
    uint8_t* bytes = loadWholeFile(path, &size);
    DecodedImage image;
    std::string error;
    bool decoded = bytes && decodeImage(bytes, size, image, error, maxTextureSize);
    std::free(bytes);
    TextureFormat format;
    if (!decoded || !chooseTextureFormat(image.channels, flags, format)) {
        std::fprintf(stderr, "Image file error: %s;", path);
        return false;
    }
    // A software driver gets every texture uncompressed, with mip-maps made here: it would
    // compress and make mip-maps on the CPU in the start-up's time (a 1024 x 1024 compressed
    // texture costs it about 100 ms), and then decode a compressed texture's blocks afresh at
    // every filtered read (the fireworks' streaks, read at every pixel of each of their two
    // full-screen layers, cost llvmpipe 3.6 ms a frame that way).
    const bool software = rendererIsSoftware(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    if (software)
        chooseTextureFormat(image.channels, uint8_t(flags & ~TextureFlags::TexCompressed), format);

    glBindTexture(GL_TEXTURE_2D, name);
    // Rows are tightly packed; GL's default unpack alignment of four only fits rows whose
    // byte length is a multiple of four, so other widths (and the small levels) are read
    // byte-aligned.
    bool oddRows = software || (image.width * image.channels) % 4 != 0;
    if (oddRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, format.internalFormat, image.width, image.height, 0, format.pixelFormat,
                 GL_UNSIGNED_BYTE, image.pixels.get());
    if (software) {
        int width = image.width, height = image.height;
        const int levels = mipLevelCount(width, height);
        for (int level = 1; level < levels; ++level) {
            halveImage(image.pixels.get(), width, height, image.channels, image.pixels.get());
            width = width > 1 ? width / 2 : 1;
            height = height > 1 ? height / 2 : 1;
            glTexImage2D(GL_TEXTURE_2D, level, format.internalFormat, width, height, 0, format.pixelFormat,
                         GL_UNSIGNED_BYTE, image.pixels.get());
        }
    }
    if (oddRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    image.pixels.reset();

    TextureSampling sampling = chooseTextureSampling(flags);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, sampling.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, sampling.magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, sampling.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, sampling.wrap);
    if (flags & TextureFlags::TexAnisotropic)
        glTexParameterf(GL_TEXTURE_2D, textureMaxAnisotropy, maxAnisotropy);
    if (!software)
        glGenerateMipmap(GL_TEXTURE_2D);
    return true;
}

namespace {

// What draws the pictures. A browser names its WebGL only in general terms, and gives the name
// of the renderer beneath it through its debug extension, where it has one.
const char* rendererName()
{
#if defined(__EMSCRIPTEN__)
    constexpr GLenum unmaskedRenderer = 0x9246;
    if (const GLubyte* name = glGetString(unmaskedRenderer))
        return reinterpret_cast<const char*>(name);
    glGetError();  // the query's INVALID_ENUM, where the browser has no such extension
#endif
    return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}

}  // namespace

bool loadTextures()
{
    glGenTextures(textureCount, textureNames);
    // Stays 1 (no anisotropy) on a driver without the extension, which leaves it unwritten.
    float maxAnisotropy = 1.0f;
    glGetFloatv(maxTextureMaxAnisotropy, &maxAnisotropy);
    maxAnisotropy = chooseAnisotropy(rendererName(), maxAnisotropy);
    // An image the driver cannot hold is refused as a bad file rather than uploaded to fail.
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    for (int i = 0; i < textureCount; ++i)
        if (!loadTextureFile(textureNames[i], textureTable[i].file, textureTable[i].flags, maxAnisotropy,
                             maxTextureSize))
            return false;
    return true;
}
