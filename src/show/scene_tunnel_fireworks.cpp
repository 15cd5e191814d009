// Back in the tunnel, on the intro's path at a steady exposure, with two layers of fireworks
// streaming backwards inside it.
#include "show/scene_frame.h"
#include "show/scenes.h"

#include "core/gl_api.h"
#include "core/texture_units.h"
#include "objects/tunnel_mesh.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/renderer.h"

#include <cmath>

void placeTunnelFireworksCamera(Camera& camera, double t)
{
    camera.setExposure(glm::vec3(1.0f));
    camera.setFocus(float(2.0 * std::sin(t) + 5.0), 0.05f);
    camera.lookAt(glm::vec3(float(2.5 * std::cos(t)), 2.5f, float(2.5 * std::sin(t))), glm::vec3(0.0f),
                  glm::vec3(0.0f, 1.0f, 0.0f));
}

void sceneTunnelFireworks(double t)
{
    Camera& camera = showCamera;
    placeTunnelFireworksCamera(camera, t);
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

    // The layers come after the background, at a third and two thirds of the tunnel's radius.
    // Depth clamping keeps their near parts from being cut by the near plane.
    renderer->beginForwardPass();
    tunnelMesh->drawForward(camera, fog);
    drawBackground(camera, fog);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_CLAMP);
    tunnelMesh->drawFireworks(camera, fog, 1.0f / 3.0f);
    tunnelMesh->drawFireworks(camera, fog, 2.0f / 3.0f);
    glDisable(GL_DEPTH_CLAMP);
    renderer->endForwardPass();

    finishFrame(camera);
}
