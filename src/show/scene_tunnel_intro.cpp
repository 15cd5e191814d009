// The opening: the tunnel seen from a camera circling the origin, coming up out of black.
#include "show/scene_frame.h"
#include "show/scenes.h"
#include "show/show.h"

#include "objects/tunnel_mesh.h"

#include <cmath>

namespace {

const ScenePasses tunnelIntroPasses = {{Surface::tunnel}, true, false};

}  // namespace

float tunnelIntroFocusDistance(double t)
{
    return float(2.0 * std::sin(t) + 5.0);
}

glm::vec3 tunnelOrbitEye(double t)
{
    return glm::vec3(float(2.5 * std::cos(t)), 2.5f, float(2.5 * std::sin(t)));
}

void placeTunnelIntroCamera(Camera& camera, double t)
{
    camera.setFocus(tunnelIntroFocusDistance(t), tunnelIntroAperture);
    camera.lookAt(tunnelOrbitEye(t), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    // Black at t = 0; the effective exposure (0.0053 t^2) passes 1 at about 13.7 s and burns
    // the picture out by the hand-over at 25 s.
    const float e = float(0.15 * t * t);
    camera.setExposure(glm::vec3(e));
}

void sceneTunnelIntro(Show& show, double t)
{
    placeTunnelIntroCamera(show.camera, t);
    const glm::vec3 fog = ambcolor(show.ambientLight, show.camera);
    show.tunnelMesh->update(t);
    drawScenePasses(show, fog, tunnelIntroPasses);
}
