#pragma once
// What every scene's frame shares. A frame runs:
//
//   camera set-up, then ambcolor
//   geometry pass   the scene's objects' drawGeometry
//   light pass      beginLightPass(false), the ambient light, maybe blending and the sun
//   forward pass    the objects' drawForward (fog colour ambcolor), then drawBackground
//   finishFrame     postProcess, composite, present at the window's size
#include <glm/vec3.hpp>

class Camera;

// The ambient light's colour times the camera's effective exposure, taken after this frame's
// camera updates: the fog colour of every forward draw and the background colour.
glm::vec3 ambcolor(const Camera& camera);

// The last draw of the forward pass (but for the fireworks): the pixels no surface covered get
// the fog colour, and as circle of confusion that of an infinitely far point.
void drawBackground(const Camera& camera, const glm::vec3& ambcolor);

// Post-processing, composite and the anti-aliased copy to the window.
void finishFrame(const Camera& camera);
