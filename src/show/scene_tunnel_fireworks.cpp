// Back in the tunnel, on the intro's path at a steady exposure, with two layers of fireworks
// streaming backwards inside it.
#include "show/scene_frame.h"
#include "show/scenes.h"
#include "show/show.h"

#include "core/gl_api.h"
#include "objects/tunnel_mesh.h"

namespace {

// The layers come after the background, at a third and two thirds of the tunnel's radius.
// Depth clamping keeps their near parts from being cut by the near plane.
void drawFireworkLayers(Show& show, const glm::vec3& fog)
{
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_CLAMP);
    show.tunnelMesh->drawFireworks(show.camera, fog, 1.0f / 3.0f);
    show.tunnelMesh->drawFireworks(show.camera, fog, 2.0f / 3.0f);
    glDisable(GL_DEPTH_CLAMP);
}

const ScenePasses tunnelFireworksPasses = {{Surface::tunnel}, true, false, drawFireworkLayers};

}  // namespace

void placeTunnelFireworksCamera(Camera& camera, double t)
{
    camera.setExposure(glm::vec3(1.0f));
    camera.setFocus(tunnelIntroFocusDistance(t), tunnelIntroAperture);
    camera.lookAt(tunnelOrbitEye(t), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}

void sceneTunnelFireworks(Show& show, double t)
{
    placeTunnelFireworksCamera(show.camera, t);
    const glm::vec3 fog = ambcolor(show.ambientLight, show.camera);
    show.tunnelMesh->update(t);
    drawScenePasses(show, fog, tunnelFireworksPasses);
}
