#include "render_fixture.h"

#include "assets/textures.h"

#include <cstddef>

namespace {

GLuint makeTexture(int width, int height, const std::vector<uint8_t>& rgba)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return texture;
}

std::vector<uint8_t> filled(int texels, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    std::vector<uint8_t> rgba;
    for (int i = 0; i < texels; ++i)
        rgba.insert(rgba.end(), {r, g, b, a});
    return rgba;
}

}  // namespace

void createStandInTextures()
{
    constexpr int size = 64;
    textureNames[0] = makeTexture(size, size, filled(size * size, 128, 128, 255, 128));
    std::vector<uint8_t> environment;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const uint8_t sky = uint8_t(255 - y * 3);
            environment.insert(environment.end(), {uint8_t(sky / 2), uint8_t(sky * 3 / 4), sky, 255});
        }
    textureNames[1] = makeTexture(size, size, environment);
    std::vector<uint8_t> streaks;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const uint8_t value = (x % 16 == 0 && y % 32 < 24) ? 255 : 0;
            streaks.insert(streaks.end(), {value, value, value, 255});
        }
    textureNames[2] = makeTexture(size, size, streaks);
    textureNames[3] = makeTexture(size, size, filled(size * size, 160, 150, 140, 255));
    textureNames[4] = makeTexture(size, size, filled(size * size, 128, 128, 255, 255));
}

std::vector<float> readRectangleFloats(GLuint texture, int width, int height, GLenum format, int components)
{
    std::vector<float> texels(std::size_t(width) * std::size_t(height) * std::size_t(components));
    glBindTexture(GL_TEXTURE_RECTANGLE, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_RECTANGLE, 0, format, GL_FLOAT, texels.data());
    return texels;
}

std::vector<uint8_t> readStencil(GLuint texture, int width, int height)
{
    std::vector<uint32_t> packed(std::size_t(width) * std::size_t(height));
    glBindTexture(GL_TEXTURE_RECTANGLE, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_RECTANGLE, 0, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, packed.data());
    std::vector<uint8_t> stencil(packed.size());
    for (std::size_t i = 0; i < packed.size(); ++i)
        stencil[i] = uint8_t(packed[i] & 0xFF);
    return stencil;
}
