// The close: nine sculptures in turn, each spinning once in front of a still camera inside the
// tunnel, under a green cast, four seconds each; then the show is over.
#include "show/scene_frame.h"
#include "show/scenes.h"

#include "assets/model_table.h"
#include "core/texture_units.h"
#include "objects/placed_model.h"
#include "objects/tunnel_mesh.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/renderer.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {
constexpr int firstSculpture = 3;
constexpr int sculptureCount = 9;
constexpr int secondsPerSculpture = 4;
}

void placeCarouselCamera(Camera& camera, double)
{
    camera.lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setFocus(0.25f, 0.0125f);
    camera.setExposure(glm::vec3(8.0f, 16.0f, 6.0f));
}

glm::vec3 carouselAmbientColor()
{
    return glm::vec3(0.9f, 1.2f, 0.8f);
}

int carouselModelIndex(double u)
{
    const int k = (int(u) / secondsPerSculpture) % sculptureCount;
    return firstSculpture + k;
}

glm::mat4 carouselModelTransform(double u)
{
    glm::mat4 transform(1.0f);
    transform = glm::translate(transform, glm::vec3(0.0f, 0.0f, -0.25f));
    transform = glm::scale(transform, glm::vec3(0.0125f, 0.05f, 0.0125f));
    const float degrees = 90.0f * float(u) + 90.0f;
    transform = glm::rotate(transform, glm::radians(degrees), glm::vec3(0.0f, 1.0f, 0.0f));
    return transform;
}

bool carouselClosesShow(double u)
{
    return int(u) / secondsPerSculpture > sculptureCount - 1;
}

void sceneCarousel(double u)
{
    Camera& camera = showCamera;
    placeCarouselCamera(camera, u);
    // Kept from here on; the scenes before used the start-up grey.
    ambientLight.setColor(carouselAmbientColor());
    const glm::vec3 fog = ambcolor(camera);
    placedModel->model = &models[carouselModelIndex(u)];
    placedModel->transform = carouselModelTransform(u);
    tunnelMesh->update(u);

    renderer->beginGeometryPass();
    placedModel->drawGeometry(camera);
    tunnelMesh->drawGeometry(camera);
    renderer->endGeometryPass();

    // No environment is bound here: the ambient light samples textureUnit::sceneTexture as the
    // tunnel's geometry draw left it, with the tunnel's normal map.
    renderer->beginLightPass(false);
    ambientLight.apply(camera);
    renderer->endLightPass();

    renderer->beginForwardPass();
    placedModel->drawForward(camera, fog);
    tunnelMesh->drawForward(camera, fog);
    drawBackground(camera, fog);
    renderer->endForwardPass();

    finishFrame(camera);
}
