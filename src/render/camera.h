#pragma once
// A photographic camera: the field of view comes from a focal length in millimetres (on a
// 36 x 24 mm frame's half-height of 18 mm, scaled to the screen's diagonal), depth of field from
// a thin-lens circle of confusion scaled to screen pixels, the hexagonal bokeh directions turn
// with the aperture, and with physical exposure on, the lighting exposure follows the aperture.
//
// The setters depend on each other, so call them in this order: setScreenSize, setNear,
// setExposure, setFar, setFocalLength, setPhysicalExposure, setFocus, updateProjection; then,
// per frame, lookAt, setFocus and setExposure.
//
// Conventions: column-major matrices with column vectors; right-handed view space looking down
// -z; OpenGL clip space.
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstdint>

class Camera {
public:
    Camera();

    // aspect = width / height; sensorScale = diagonal in pixels x 1000 / 35.
    void setScreenSize(uint32_t width, uint32_t height);
    void setNear(float value);
    void setFar(float value);
    // The tint that lights and materials are exposed with; scaled by the aperture's exposure
    // when physical exposure is on.
    void setExposure(const glm::vec3& tint);
    // Millimetres; needs the aspect of setScreenSize.
    void setFocalLength(float millimetres);
    // Takes effect at the next setExposure or setFocus.
    void setPhysicalExposure(bool on);
    // Focus distance in world units and the lens aperture; needs setScreenSize and
    // setFocalLength.
    void setFocus(float distance, float aperture);
    // Needs fovy, aspect, near and far.
    void updateProjection();
    // Needs updateProjection.
    void lookAt(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up);

    const glm::mat4& view() const { return view_; }
    const glm::mat4& projection() const { return projection_; }
    const glm::mat4& viewProjection() const { return viewProjection_; }
    // Signed circle of confusion in full-resolution pixels at view distance z:
    // cocParams.x / z + cocParams.y (0 at the focus distance, negative nearer, positive farther).
    const glm::vec2& cocParams() const { return cocParams_; }
    // Tangents that turn a pixel's position on screen (-1..1) and its view distance into a
    // view-space position.
    const glm::vec2& hfov() const { return hfov_; }
    // Unit bokeh directions, 120 degrees apart.
    const glm::vec2& step0() const { return step0_; }
    const glm::vec2& step1() const { return step1_; }
    const glm::vec2& step2() const { return step2_; }
    // The effective exposure handed to lights and shaders.
    glm::vec3 exposure() const { return effectiveExposure_; }

    float fovy() const { return fovy_; }
    float aspect() const { return aspect_; }
    float nearPlane() const { return near_; }
    float farPlane() const { return far_; }
    float focalLength() const { return focalLength_; }
    float focusDistance() const { return focusDistance_; }
    float aperture() const { return aperture_; }
    float sensorScale() const { return sensorScale_; }
    float apertureExposure() const { return apertureExposure_; }
    bool physicalExposure() const { return physicalExposure_; }
    glm::vec3 exposureTint() const { return exposureTint_; }

private:
    glm::mat4 view_;
    glm::mat4 projection_;
    glm::mat4 viewProjection_;
    float fovy_ = 0.0f;    // radians, vertical
    float aspect_ = 0.0f;  // width / height
    float near_ = 0.0f;
    float far_ = 0.0f;
    glm::vec2 cocParams_{0.0f};
    glm::vec2 hfov_{0.0f};
    bool physicalExposure_ = false;
    float focalLength_ = 0.0f;    // metres
    float focusDistance_ = 0.0f;  // world units
    float aperture_ = 0.0f;
    float sensorScale_ = 0.0f;
    float apertureExposure_ = 0.0f;  // aperture / sqrt(2)
    glm::vec2 step0_{0.0f};
    glm::vec2 step1_{0.0f};
    glm::vec2 step2_{0.0f};
    glm::vec3 exposureTint_{0.0f};
    glm::vec3 effectiveExposure_{0.0f};
};
