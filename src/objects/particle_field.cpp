#include "objects/particle_field.h"

#include "core/gl_api.h"
#include "core/random.h"
#include "render/camera.h"
#include "render/programs.h"
#include "render/screen_triangle.h"

#include <glm/gtc/constants.hpp>

ParticleField* particleField = nullptr;

namespace {
constexpr uint32_t particleCount = 32;
}

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
    const auto& emissive = program::objectMaterialEmissive;
    emissive.use();
    for (const glm::vec3& color : colors_) {
        emissive.c.set(camera.cocParams());
        emissive.fc.set(fogColor);
        emissive.e.set(color * camera.exposure());
        emissive.m.set(camera.viewProjection());
        drawScreenTriangle();
    }
    glEnable(GL_DEPTH_TEST);
}
