// The credits: the credits model standing on the ground, passed by a camera travelling along
// a straight line, until the picture fades to white.
#include "show/scene_frame.h"
#include "show/scenes.h"
#include "show/show.h"

#include "objects/placed_model.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

const ScenePasses creditsPasses = {{Surface::placedModel, Surface::ground}, false, true};

}  // namespace

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

void sceneCredits(Show& show, double u)
{
    placeCreditsCamera(show.camera, u);
    const glm::vec3 fog = ambcolor(show.ambientLight, show.camera);
    // The model is the credits model, as start-up left it; only its place is set here.
    show.placedModel->transform = creditsModelTransform();
    drawScenePasses(show, fog, creditsPasses);
}
