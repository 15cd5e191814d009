#pragma once
// The frame every scene draws, in the renderer's fixed pass order. A scene places the camera,
// takes ambcolor, moves its objects, and hands drawScenePasses what it draws in each pass:
//
//   geometry pass   the surfaces' drawGeometry, in the scene's order
//   light pass      beginLightPass(false); the environment map bound on the scene's texture
//                   unit where asked; the ambient light; blending and the sun where asked
//   forward pass    the surfaces' drawForward (fog colour ambcolor), in the same order; the
//                   background; overBackground, where given: what must come after it
//   finishFrame     postProcess, composite, present at the window's size
#include <glm/vec3.hpp>

#include <array>

class AmbientLight;
class Camera;
class Renderer;
struct Show;

// The objects that draw in both the geometry and the forward pass.
enum class Surface { none, placedModel, tunnel, ground };

struct ScenePasses {
    std::array<Surface, 2> surfaces;  // in drawing order; none after the last
    // Without it the ambient light samples the scene's texture unit as the geometry pass
    // left it: with the normal map of the last surface drawn.
    bool bindEnvironment;
    bool sun;
    void (*overBackground)(Show& show, const glm::vec3& fog) = nullptr;
};

// The ambient light's colour times the camera's effective exposure, taken after this frame's
// camera updates: the fog colour of every forward draw and the background colour.
glm::vec3 ambcolor(const AmbientLight& ambientLight, const Camera& camera);

// The passes of one frame, in order, from the show's camera as the scene placed it.
void drawScenePasses(Show& show, const glm::vec3& fog, const ScenePasses& passes);

// The last draw of the forward pass (but for what goes over it): the pixels no surface
// covered get the fog colour, and as circle of confusion that of an infinitely far point.
void drawBackground(const Camera& camera, const glm::vec3& ambcolor);

// Post-processing, composite and the anti-aliased copy to the window.
void finishFrame(Renderer& renderer, const Camera& camera);
