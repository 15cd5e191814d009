#pragma once
// Reads presented frames back through a ring of pixel-buffer objects: each read is started
// into the next buffer and collected a few frames later, so the renderer never waits for the
// copy of the frame it has just drawn.
#include "core/gl_api.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PixelReadbackRing {
public:
    // `depth` buffers of width x height RGBA8. Needs the GL context current.
    PixelReadbackRing(uint32_t width, uint32_t height, uint32_t depth = 3);
    ~PixelReadbackRing();
    PixelReadbackRing(const PixelReadbackRing&) = delete;
    PixelReadbackRing& operator=(const PixelReadbackRing&) = delete;

    // Starts reading the default framebuffer (the presented frame) into the next buffer. The
    // ring must not be full.
    void startRead();
    bool full() const { return pending_ == buffers_.size(); }
    bool empty() const { return pending_ == 0; }

    // The oldest frame started and not yet taken: RGBA8, bottom row first, as GL reads it.
    // False when the driver could not map the buffer.
    bool takeOldest(std::vector<uint8_t>& rgba);

private:
    uint32_t width_, height_;
    std::vector<GLuint> buffers_;
    size_t next_ = 0;     // where the next read goes
    size_t pending_ = 0;  // reads started and not yet taken
};
