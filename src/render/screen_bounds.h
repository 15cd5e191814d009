#pragma once
// Where on the screen a sphere can appear: for draws that cover the viewport but shade only a
// small sphere's pixels, so that a scissor keeps the rest of the screen from being shaded.
#include "core/gl_api.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

struct PixelRect {
    GLint x, y;
    GLsizei width, height;
};

// The pixels of `viewport` (x, y, width, height, as GL_VIEWPORT gives it) that a sphere can
// cover under `viewProjection`: the screen bounds of the cube around it, two pixels wider each
// way, clipped to the viewport (empty when it is off screen). The whole viewport when part of
// the cube lies at or behind the camera, where projecting its corners says nothing.
PixelRect screenBoundsOfSphere(const glm::vec3& centre, float radius, const glm::mat4& viewProjection,
                               const GLint viewport[4]);
