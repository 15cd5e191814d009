// The flash: the dirt ground under the ambient light and the sun, with the particle field
// glowing over it, opening heavily over-exposed and darkening as 1 / u.
#include "show/scene_frame.h"
#include "show/scenes.h"

#include "core/gl_api.h"
#include "objects/ground_plane.h"
#include "objects/particle_field.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/renderer.h"

#include <algorithm>
#include <cmath>

namespace {
// The scene's first frame can land at u = 0 exactly, where 100 / u is infinite.
constexpr float shortestSceneTime = 0.001f;
}

void placeParticlesCamera(Camera& camera, double u)
{
    const float k = 1.0f + 100.0f / std::max(float(u), shortestSceneTime);
    camera.setExposure(glm::vec3(k));
    camera.lookAt(glm::vec3(float(15.0 * std::cos(u / 2.0)), 5.0f, float(15.0 * std::sin(u / 2.0))), glm::vec3(0.0f),
                  glm::vec3(0.0f, 1.0f, 0.0f));
    // No focus of its own: the intro's last frame left it.
}

void sceneParticles(double u)
{
    Camera& camera = showCamera;
    placeParticlesCamera(camera, u);
    const glm::vec3 fog = ambcolor(camera);

    renderer->beginGeometryPass();
    groundPlane->drawGeometry(camera);
    renderer->endGeometryPass();

    // No environment is bound here: the ambient light samples textureUnit::sceneTexture as the
    // ground's geometry draw left it, with the ground's normal map.
    renderer->beginLightPass(false);
    ambientLight.apply(camera);
    glEnable(GL_BLEND);
    directionalLight.apply(camera);
    renderer->endLightPass();

    // The particles write no depth and would lie under the ground and the background, both
    // drawn with depth test EQUAL: they go last, over everything, and test the scene's depth
    // in their own shader.
    renderer->beginForwardPass();
    groundPlane->drawForward(camera, fog);
    drawBackground(camera, fog);
    particleField->drawForward(camera, fog);
    renderer->endForwardPass();

    finishFrame(camera);
}
