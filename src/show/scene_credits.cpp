// The credits: the credits model standing on the ground, passed by a camera travelling along
// a straight line, until the picture fades to white.
#include "show/scene_frame.h"
#include "show/scenes.h"

#include "core/gl_api.h"
#include "objects/ground_plane.h"
#include "objects/placed_model.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/renderer.h"

#include <glm/gtc/matrix_transform.hpp>

void placeCreditsCamera(Camera& camera, double u)
{
    // Passes the model at u = 15 and the target at u = 22.5, then looks back at it.
    camera.lookAt(glm::vec3(float(2.0 * u - 30.0), 2.0f, 2.0f), glm::vec3(15.0f, 1.5f, 0.0f),
                  glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setFocus(10.0f, 0.075f);
    // Tint 1 until u = 21, then (u - 20)^2: 100 at the end, an almost white frame.
    float v = float(u - 20.0);
    if (1.0f > v)
        v = 1.0f;
    camera.setExposure(glm::vec3(v * v));
}

glm::mat4 creditsModelTransform()
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}

void sceneCredits(double u)
{
    Camera& camera = showCamera;
    placeCreditsCamera(camera, u);
    const glm::vec3 fog = ambcolor(camera);
    // The model is the one start-up chose; only its place is set here.
    placedModel->transform = creditsModelTransform();

    renderer->beginGeometryPass();
    placedModel->drawGeometry(camera);
    groundPlane->drawGeometry(camera);
    renderer->endGeometryPass();

    // No environment is bound here: the ambient light samples textureUnit::sceneTexture as the
    // ground's geometry draw left it, with the ground's normal map.
    renderer->beginLightPass(false);
    ambientLight.apply(camera);
    glEnable(GL_BLEND);
    directionalLight.apply(camera);
    renderer->endLightPass();

    renderer->beginForwardPass();
    placedModel->drawForward(camera, fog);
    groundPlane->drawForward(camera, fog);
    drawBackground(camera, fog);
    renderer->endForwardPass();

    finishFrame(camera);
}
