#include "pixel_readback_ring.h"

#include <cstring>

PixelReadbackRing::PixelReadbackRing(uint32_t width, uint32_t height, uint32_t depth)
    : width_(width), height_(height), buffers_(depth)
{
    glGenBuffers(GLsizei(depth), buffers_.data());
    for (GLuint buffer : buffers_) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, GLsizeiptr(size_t(width) * height * 4), nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

PixelReadbackRing::~PixelReadbackRing()
{
    glDeleteBuffers(GLsizei(buffers_.size()), buffers_.data());
}

void PixelReadbackRing::startRead()
{
    GLint previousFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[next_]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // With a pack buffer bound the last argument is an offset into it: the call returns once
    // the copy is queued.
    glReadPixels(0, 0, GLsizei(width_), GLsizei(height_), GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(previousFramebuffer));
    next_ = (next_ + 1) % buffers_.size();
    ++pending_;
}

bool PixelReadbackRing::takeOldest(std::vector<uint8_t>& rgba)
{
    const size_t oldest = (next_ + buffers_.size() - pending_) % buffers_.size();
    const size_t bytes = size_t(width_) * height_ * 4;
    rgba.resize(bytes);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[oldest]);
    const void* mapped = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
    if (mapped) {
        std::memcpy(rgba.data(), mapped, bytes);
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    --pending_;
    return mapped != nullptr;
}
