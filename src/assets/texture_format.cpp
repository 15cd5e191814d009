#include "assets/texture_format.h"

#include "core/gl_api.h"

#include <cstring>

bool chooseTextureFormat(int channels, uint8_t flags, TextureFormat& format)
{
    using namespace TextureFlags;
    bool compressed = (flags & TexCompressed) != 0;
    bool srgb = (flags & TexSrgb) != 0;
    switch (channels) {
    case 1: format = {GL_RED, compressed ? GL_COMPRESSED_RED : GL_RED}; return true;
    case 2: format = {GL_RG, compressed ? GL_COMPRESSED_RG : GL_RG}; return true;
    case 3:
        format = {GL_RGB,
                  srgb ? (compressed ? GL_COMPRESSED_SRGB : GL_SRGB) : (compressed ? GL_COMPRESSED_RGB : GL_RGB)};
        return true;
    case 4:
        format = {GL_RGBA, srgb ? (compressed ? GL_COMPRESSED_SRGB_ALPHA : GL_SRGB_ALPHA)
                                : (compressed ? GL_COMPRESSED_RGBA : GL_RGBA)};
        return true;
    default: return false;
    }
}

TextureSampling chooseTextureSampling(uint8_t flags)
{
    using namespace TextureFlags;
    bool nearest = (flags & TexNearest) != 0;
    return {nearest ? GL_NEAREST : GL_LINEAR_MIPMAP_LINEAR, nearest ? GL_NEAREST : GL_LINEAR,
            (flags & TexClamp) ? GL_CLAMP_TO_EDGE : GL_REPEAT};
}

bool rendererIsSoftware(const char* renderer)
{
    // Mesa's software rasterisers, and the same names behind wine's or a virtual machine's GL.
    return renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe"));
}

float chooseAnisotropy(const char* renderer, float driverMaximum)
{
    // The browser's software rasterizer too; only Mesa's get the loader's mip-maps, which copy
    // their rounding.
    const bool swiftShader = renderer && std::strstr(renderer, "SwiftShader");
    return rendererIsSoftware(renderer) || swiftShader ? 1.0f : driverMaximum;
}
