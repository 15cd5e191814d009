#pragma once
// One of the loaded models put into the world with a transform, drawn in the geometry pass
// (Object/GeometryFlat) and the forward pass (Object/MaterialSolid). Every model drawn this way
// gets the same material: a satin plastic of reflectance 16/255, diffuse colour
// (0.25, 0.125, 0.5) and specular colour (0.5, 0.5, 0.5).
//
// Scenes write the two fields directly, every frame they use the object; whatever the last
// writer left stays, from frame to frame and from scene to scene.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

class Camera;
class Model;

class PlacedModel {
public:
    glm::mat4 transform{1.0f};     // model to world; identity after construction
    const Model* model = nullptr;  // not owned; set by the creator before the first draw

    // Between Renderer::beginGeometryPass and endGeometryPass.
    void drawGeometry(const Camera& camera) const;
    // Between Renderer::beginForwardPass and endForwardPass: the light buffers are on units
    // 2 and 3.
    void drawForward(const Camera& camera, const glm::vec3& fogColor) const;
};
