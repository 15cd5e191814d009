// The close: nine sculptures in turn, each spinning once in front of a still camera inside the
// tunnel, under a green cast, four seconds each; then the show is over.
#include "show/scene_frame.h"
#include "show/scenes.h"
#include "show/show.h"

#include "objects/placed_model.h"
#include "objects/tunnel_mesh.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr int firstSculpture = 3;

// The ambient light samples the scene's texture unit as the tunnel's geometry draw left it,
// with the tunnel's normal map.
const ScenePasses carouselPasses = {{Surface::placedModel, Surface::tunnel}, false, false};

}  // namespace

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
    const int k = (int(u) / carouselSecondsPerSculpture) % carouselSculptureCount;
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

void sceneCarousel(Show& show, double u)
{
    placeCarouselCamera(show.camera, u);
    // Kept from here on; the scenes before used the start-up grey.
    show.ambientLight.setColor(carouselAmbientColor());
    const glm::vec3 fog = ambcolor(show.ambientLight, show.camera);
    show.placedModel->model = &show.models[carouselModelIndex(u)];
    show.placedModel->transform = carouselModelTransform(u);
    show.tunnelMesh->update(u);
    drawScenePasses(show, fog, carouselPasses);
}
