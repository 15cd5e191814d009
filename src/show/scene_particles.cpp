// The flash: the dirt ground under the ambient light and the sun, with the particle field
// glowing over it, opening heavily over-exposed and darkening as 1 / u.
#include "show/scene_frame.h"
#include "show/scenes.h"
#include "show/show.h"

#include "objects/particle_field.h"

#include <algorithm>
#include <cmath>

namespace {
// The scene's first frame can land at u = 0 exactly, where 100 / u is infinite.
constexpr float shortestSceneTime = 0.001f;

// The particles write no depth and would lie under the ground and the background, both drawn
// with depth test EQUAL: they go last, over everything, and test the scene's depth in their
// own shader.
const ScenePasses particlesPasses = {
    {Surface::ground},
    false,
    true,
    [](Show& show, const glm::vec3& fog) { show.particleField->drawForward(show.camera, fog); },
};

}  // namespace

void placeParticlesCamera(Camera& camera, double u)
{
    const float k = 1.0f + 100.0f / std::max(float(u), shortestSceneTime);
    camera.setExposure(glm::vec3(k));
    camera.lookAt(glm::vec3(float(15.0 * std::cos(u / 2.0)), 5.0f, float(15.0 * std::sin(u / 2.0))), glm::vec3(0.0f),
                  glm::vec3(0.0f, 1.0f, 0.0f));
    // No focus of its own: the intro's last frame left it.
}

void sceneParticles(Show& show, double u)
{
    placeParticlesCamera(show.camera, u);
    const glm::vec3 fog = ambcolor(show.ambientLight, show.camera);
    drawScenePasses(show, fog, particlesPasses);
}
