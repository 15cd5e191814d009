#include "render/camera.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace {
// One third of a turn, in radians: the angle between bokeh directions.
constexpr float thirdOfTurn = 2.0943952f;

glm::vec2 unitDirection(float angle)
{
    const glm::vec2 direction(std::sin(angle), std::cos(angle));
    return direction / glm::length(direction);
}
}  // namespace

Camera::Camera() : view_(1.0f), projection_(1.0f), viewProjection_(1.0f) {}

void Camera::setScreenSize(uint32_t width, uint32_t height)
{
    aspect_ = float(width) / float(height);
    // The sum of squares in 32-bit unsigned arithmetic: exact for any real screen (it wraps
    // only beyond 46000 pixels a side).
    const uint32_t diagonalSquared = height * height + width * width;
    sensorScale_ = std::sqrt(float(diagonalSquared)) * 1000.0f / 35.0f;
}

void Camera::setNear(float value)
{
    near_ = value;
}

void Camera::setFar(float value)
{
    far_ = value;
}

void Camera::setExposure(const glm::vec3& tint)
{
    exposureTint_ = tint;
    effectiveExposure_ = physicalExposure_ ? tint * apertureExposure_ : tint;
}

void Camera::setFocalLength(float millimetres)
{
    // 18 mm is half the height of the 36 x 24 mm frame the focal length refers to; the angle
    // it gives is taken across the screen's diagonal and scaled to its height.
    const float diagonalAngle = 2.0f * std::atan(18.0f / millimetres);
    fovy_ = std::sqrt(diagonalAngle * diagonalAngle / (aspect_ * aspect_ + 1.0f));
    focalLength_ = millimetres / 1000.0f;
}

void Camera::setPhysicalExposure(bool on)
{
    physicalExposure_ = on;
}

void Camera::setFocus(float distance, float aperture)
{
    focusDistance_ = distance;
    aperture_ = aperture;
    const float f = focalLength_;
    const float scale = aperture * sensorScale_ * f / (distance - f);
    cocParams_ = glm::vec2(-scale * distance, scale);
    apertureExposure_ = aperture / std::sqrt(2.0f);
    effectiveExposure_ = physicalExposure_ ? exposureTint_ * apertureExposure_ : exposureTint_;

    // The bokeh turns as the aperture changes, like the blades of a real iris.
    const float phi = 13.37f * aperture;
    step0_ = unitDirection(phi);
    step1_ = unitDirection(phi + thirdOfTurn);
    step2_ = unitDirection(phi - thirdOfTurn);
}

void Camera::updateProjection()
{
    // The horizontal tangent is that of the aspect-scaled angle (not aspect x tan(fovy / 2)):
    // the light shaders reconstruct positions with this pair.
    hfov_ = glm::vec2(float(std::tan(double(aspect_) * double(fovy_) * 0.5)), float(std::tan(double(fovy_) * 0.5)));

    const float cotangent = 1.0f / std::tan(fovy_ * 0.5f);
    projection_ = glm::mat4(0.0f);
    projection_[0][0] = cotangent / aspect_;
    projection_[1][1] = cotangent;
    projection_[2][2] = (far_ + near_) / (near_ - far_);
    projection_[2][3] = -1.0f;
    projection_[3][2] = 2.0f * far_ * near_ / (near_ - far_);
}

void Camera::lookAt(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up)
{
    const glm::vec3 forward = glm::normalize(target - eye);
    const glm::vec3 side = glm::normalize(glm::cross(forward, glm::normalize(up)));
    const glm::vec3 trueUp = glm::cross(side, forward);

    // Rows side, up and -forward, then the translation by -eye.
    view_ = glm::mat4(1.0f);
    for (int column = 0; column < 3; ++column) {
        view_[column][0] = side[column];
        view_[column][1] = trueUp[column];
        view_[column][2] = -forward[column];
    }
    view_[3][0] = -glm::dot(side, eye);
    view_[3][1] = -glm::dot(trueUp, eye);
    view_[3][2] = glm::dot(forward, eye);
    viewProjection_ = projection_ * view_;
}
