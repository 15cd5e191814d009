#pragma once
// Full-screen lights of the light pass. Each apply() draws one screen triangle with its own
// program into both light buffers (output O0 diffuse, O1 specular), limited by the stencil mark
// to the pixels the geometry pass covered.
//
// Preconditions of apply(): between Renderer::beginLightPass and endLightPass, so lightTarget
// is bound with both draw buffers, depthStencil is on unit 0 and gbuffer on unit 1. The caller
// decides blending (the first light of a frame replaces, a second one adds after the scene
// enables GL_BLEND) and binds the environment texture on unit 3 for the ambient light.
// apply() leaves its program current and the screen triangle's vertex array bound.
#include "core/gl_api.h"

#include <glm/vec3.hpp>

class Camera;

class Light {
public:
    // Linear RGB, not limited to 1.
    void setColor(const glm::vec3& value) { color_ = value; }
    glm::vec3 color() const { return color_; }

    virtual void apply(const Camera& camera) = 0;

protected:
    Light() = default;
    ~Light() = default;

    glm::vec3 color_{0.0f};
};

// Ambient light from the environment texture: diffuse scaled by colour x exposure, the
// reflection by the exposure alone.
class AmbientLight : public Light {
public:
    void setEnvironmentTexture(GLuint texture) { environmentTexture_ = texture; }
    GLuint environmentTexture() const { return environmentTexture_; }

    void apply(const Camera& camera) override;

private:
    GLuint environmentTexture_ = 0;  // a 2D texture
};

// A light from one direction, such as the sun.
class DirectionalLight : public Light {
public:
    // World space, the direction in which the light travels.
    void setDirection(const glm::vec3& value) { direction_ = value; }
    glm::vec3 direction() const { return direction_; }

    void apply(const Camera& camera) override;

private:
    glm::vec3 direction_{0.0f};
};
