// The opening: the tunnel seen from a camera circling the origin, coming up out of black.
#include "show/scene_frame.h"
#include "show/scenes.h"

#include "core/gl_api.h"
#include "core/texture_units.h"
#include "objects/tunnel_mesh.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/renderer.h"

#include <cmath>

void placeTunnelIntroCamera(Camera& camera, double t)
{
    camera.setFocus(float(2.0 * std::sin(t) + 5.0), 0.05f);
    camera.lookAt(glm::vec3(float(2.5 * std::cos(t)), 2.5f, float(2.5 * std::sin(t))), glm::vec3(0.0f),
                  glm::vec3(0.0f, 1.0f, 0.0f));
    // Black at t = 0; the effective exposure (0.0053 t^2) passes 1 at about 13.7 s and burns
    // the picture out by the hand-over at 25 s.
    const float e = float(0.15 * t * t);
    camera.setExposure(glm::vec3(e));
}

void sceneTunnelIntro(double t)
{
    Camera& camera = showCamera;
    placeTunnelIntroCamera(camera, t);
    const glm::vec3 fog = ambcolor(camera);
    tunnelMesh->update(t);

    renderer->beginGeometryPass();
    tunnelMesh->drawGeometry(camera);
    renderer->endGeometryPass();

    renderer->beginLightPass(false);
    selectTextureUnit(textureUnit::sceneTexture);
    glBindTexture(GL_TEXTURE_2D, ambientLight.environmentTexture());
    ambientLight.apply(camera);
    renderer->endLightPass();

    renderer->beginForwardPass();
    tunnelMesh->drawForward(camera, fog);
    drawBackground(camera, fog);
    renderer->endForwardPass();

    finishFrame(camera);
}
