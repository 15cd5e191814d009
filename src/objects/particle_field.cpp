#include "objects/particle_field.h"

#include "core/gl_api.h"
#include "core/random.h"
#include "render/camera.h"
#include "render/programs.h"
#include "render/screen_bounds.h"
#include "render/screen_triangle.h"

#include <glm/gtc/constants.hpp>
#include <algorithm>

namespace {

constexpr uint32_t particleCount = 32;
// As in MaterialEmissive.fs: the sphere's radius, and its centre from the balance of the
// particle's emitted colour (keep the two equal).
constexpr float particleRadius = 0.15f;

glm::vec3 particleCentre(const glm::vec3& emitted)
{
    const glm::vec3 share = emitted / std::max(emitted.r + emitted.g + emitted.b, 1e-6f);
    return {(share.r - share.b) * 10.0f, 0.3f + 1.2f * std::clamp(share.g * 2.0f - 0.2f, 0.0f, 1.0f),
            (share.g - 0.5f * (share.r + share.b)) * 10.0f};
}

}  // namespace

ParticleField::ParticleField()
{
    const float pi = glm::pi<float>();
    colors_.reserve(particleCount);
    for (uint32_t i = 0; i < particleCount; ++i) {
        // Every draw advances the generator whatever its range, so the unused ones stay.
        randomRange(0.0f, 10.0f);
        randomRange(0.0f, pi);
        glm::vec3 color;
        color.b = randomRange(0.0f, 10.0f);
        color.g = randomRange(0.0f, 10.0f);
        color.r = randomRange(0.0f, 10.0f);
        randomRange(0.0f, pi);
        randomRange(0.0f, 2.0f);
        randomRange(0.0f, 1.0f);
        randomRange(0.0f, 1.0f);
        randomRange(0.0f, 1.0f);
        colors_.push_back(color);
    }
}

void ParticleField::drawForward(const Camera& camera, const glm::vec3& fogColor) const
{
    glDisable(GL_DEPTH_TEST);
    // Every pixel's ray is cast at the sphere, and all but a few hundred miss it: each draw is
    // kept to the pixels the sphere can cover.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glEnable(GL_SCISSOR_TEST);
    const auto& emissive = program::objectMaterialEmissive;
    emissive.use();
    for (const glm::vec3& color : colors_) {
        const glm::vec3 emitted = color * camera.exposure();
        const PixelRect bounds =
            screenBoundsOfSphere(particleCentre(emitted), particleRadius, camera.viewProjection(), viewport);
        glScissor(bounds.x, bounds.y, bounds.width, bounds.height);
        emissive.c.set(camera.cocParams());
        emissive.fc.set(fogColor);
        emissive.e.set(emitted);
        emissive.m.set(camera.viewProjection());
        drawScreenTriangle();
    }
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
}
