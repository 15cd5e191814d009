#include "render/screen_bounds.h"

#include <glm/common.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <cmath>

PixelRect screenBoundsOfSphere(const glm::vec3& centre, float radius, const glm::mat4& viewProjection,
                               const GLint viewport[4])
{
    const PixelRect whole{viewport[0], viewport[1], viewport[2], viewport[3]};
    glm::vec2 low(INFINITY), high(-INFINITY);
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 offset((corner & 1) ? radius : -radius, (corner & 2) ? radius : -radius,
                               (corner & 4) ? radius : -radius);
        const glm::vec4 clip = viewProjection * glm::vec4(centre + offset, 1.0f);
        if (!(clip.w > 1e-3f))
            return whole;
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        low = glm::min(low, ndc);
        high = glm::max(high, ndc);
    }
    const glm::vec2 size{float(viewport[2]), float(viewport[3])};
    const glm::vec2 first = glm::clamp((low * 0.5f + 0.5f) * size - 2.0f, glm::vec2(0.0f), size);
    const glm::vec2 last = glm::clamp((high * 0.5f + 0.5f) * size + 2.0f, glm::vec2(0.0f), size);
    return {viewport[0] + GLint(std::floor(first.x)), viewport[1] + GLint(std::floor(first.y)),
            GLsizei(std::ceil(last.x) - std::floor(first.x)), GLsizei(std::ceil(last.y) - std::floor(first.y))};
}
