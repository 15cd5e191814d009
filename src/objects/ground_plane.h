#pragma once
// The ground: a flat square of 2000 x 2000 units at height 0 facing +y, with a colour texture
// and a normal map. It carries no texture coordinates; its shaders derive them from the world
// position, scaled by `ts`.
#include "core/gl_api.h"

#include <glm/vec3.hpp>

class Camera;

class GroundPlane {
public:
    // Creates this plane's vertex buffer and, for the first plane only, the vertex array that
    // all planes share (every plane holds the same four vertices).
    GroundPlane();

    void setTextures(GLuint albedo, GLuint normalMap);
    // Texture-coordinate scale handed to the shaders as "ts".
    void setTs(float value);

    // Geometry pass: normal map on unit 3, PlaneNM/GeometryNM. Leaves unit 3 active.
    void drawGeometry(const Camera& camera) const;
    // Forward pass: albedo on unit 4, light buffers on units 2 and 3 (bound by the renderer),
    // Plane/MaterialAlbedo, fading to `fogColor`. Leaves unit 4 active.
    void drawForward(const Camera& camera, const glm::vec3& fogColor) const;

    GLuint vertexBuffer() const { return vertexBuffer_; }
    static GLuint sharedVertexArray() { return sharedVertexArray_; }

private:
    void draw() const;

    float ts_ = 0.0f;
    GLuint normalMapTexture_ = 0;
    GLuint albedoTexture_ = 0;
    GLuint vertexBuffer_ = 0;
    static GLuint sharedVertexArray_;
};
