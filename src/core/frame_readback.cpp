#include "core/frame_readback.h"

#include "core/gl_api.h"

#include <algorithm>

std::vector<uint8_t> readDefaultFramebuffer(uint32_t width, uint32_t height)
{
    const size_t rowBytes = size_t(width) * 4;
    std::vector<uint8_t> pixels(rowBytes * height);
    GLint previousFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(previousFramebuffer));

    // GL's rows run bottom-up; images run top-down.
    for (uint32_t y = 0; y < height / 2; ++y)
        std::swap_ranges(pixels.begin() + std::ptrdiff_t(y * rowBytes),
                         pixels.begin() + std::ptrdiff_t((y + 1) * rowBytes),
                         pixels.begin() + std::ptrdiff_t((height - 1 - y) * rowBytes));
    return pixels;
}
