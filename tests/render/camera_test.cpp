// The camera's numbers for a 1920 x 1080 screen and a 35 mm lens, in start-up order.
#include "render/camera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

Camera startUpCamera(uint32_t width = 1920, uint32_t height = 1080)
{
    Camera camera;
    camera.setScreenSize(width, height);
    camera.setNear(0.1f);
    camera.setExposure(glm::vec3(1.0f));
    camera.setFar(100.0f);
    camera.setFocalLength(35.0f);
    camera.setPhysicalExposure(true);
    camera.setFocus(15.0f, 0.075f);
    camera.updateProjection();
    return camera;
}

void expectNear(const glm::vec2& actual, float x, float y, float tolerance)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
}

}  // namespace

TEST(Camera, LensAndScreenGiveTheFieldOfView)
{
    const Camera camera = startUpCamera();
    EXPECT_NEAR(camera.aspect(), 1.7777778f, 1e-6f);
    EXPECT_NEAR(camera.sensorScale(), 62940.21f, 0.01f);
    EXPECT_NEAR(camera.fovy(), 0.46576f, 1e-5f);
    EXPECT_NEAR(camera.fovy() * 180.0f / 3.14159265f, 26.686f, 1e-3f);
    EXPECT_FLOAT_EQ(camera.focalLength(), 0.035f);
}

TEST(Camera, FocusGivesCircleOfConfusionExposureAndBokehDirections)
{
    const Camera camera = startUpCamera();
    expectNear(camera.cocParams(), -165.604f, 11.0403f, 2e-3f);
    // Zero blur at the focus distance, negative nearer, positive farther.
    const glm::vec2 coc = camera.cocParams();
    EXPECT_NEAR(coc.x / 15.0f + coc.y, 0.0f, 1e-4f);
    EXPECT_LT(coc.x / 5.0f + coc.y, 0.0f);
    EXPECT_GT(coc.x / 50.0f + coc.y, 0.0f);

    EXPECT_NEAR(camera.apertureExposure(), 0.0530330f, 1e-7f);
    const glm::vec3 exposure = camera.exposure();
    EXPECT_NEAR(exposure.x, 0.0530330f, 1e-7f);
    EXPECT_NEAR(exposure.z, 0.0530330f, 1e-7f);

    expectNear(camera.step0(), 0.8430f, 0.5380f, 1e-4f);
    expectNear(camera.step1(), 0.0444f, -0.9990f, 1e-4f);
    expectNear(camera.step2(), -0.8874f, 0.4610f, 1e-4f);
    for (const glm::vec2& step : {camera.step0(), camera.step1(), camera.step2()})
        EXPECT_NEAR(glm::length(step), 1.0f, 1e-6f);
    // 120 degrees apart.
    EXPECT_NEAR(glm::dot(camera.step0(), camera.step1()), -0.5f, 1e-5f);
    EXPECT_NEAR(glm::dot(camera.step1(), camera.step2()), -0.5f, 1e-5f);
}

TEST(Camera, HfovIsTheTangentOfTheAspectScaledAngle)
{
    const Camera camera = startUpCamera();
    expectNear(camera.hfov(), 0.43940f, 0.23718f, 1e-5f);
    EXPECT_GT(std::fabs(camera.hfov().x - camera.aspect() * std::tan(camera.fovy() * 0.5f)), 0.017f);
}

TEST(Camera, ProjectionIsTheStandardPerspective)
{
    const Camera camera = startUpCamera();
    const glm::mat4 expected = glm::perspective(camera.fovy(), camera.aspect(), 0.1f, 100.0f);
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(camera.projection()[column][row], expected[column][row], 1e-5f);
}

TEST(Camera, LookAt)
{
    Camera camera = startUpCamera();
    // Looking down -z from the origin is the identity view.
    camera.lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            EXPECT_FLOAT_EQ(camera.view()[column][row], column == row ? 1.0f : 0.0f);
            EXPECT_FLOAT_EQ(camera.viewProjection()[column][row], camera.projection()[column][row]);
        }

    // A general placement matches the usual look-at, with an up vector of any length.
    const glm::vec3 eye(2.5f, 2.5f, 1.0f), target(0.0f, 0.5f, 0.0f);
    camera.lookAt(eye, target, glm::vec3(0.0f, 3.0f, 0.0f));
    const glm::mat4 expected = glm::lookAt(eye, target, glm::vec3(0.0f, 1.0f, 0.0f));
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(camera.view()[column][row], expected[column][row], 1e-6f);
    // The target lies on the view axis, in front of the camera.
    const glm::vec4 targetInView = camera.view() * glm::vec4(target, 1.0f);
    EXPECT_NEAR(targetInView.x, 0.0f, 1e-5f);
    EXPECT_NEAR(targetInView.y, 0.0f, 1e-5f);
    EXPECT_NEAR(targetInView.z, -glm::length(eye - target), 1e-5f);
}

TEST(Camera, PhysicalExposureFollowsTheApertureOnlyWhenOn)
{
    Camera camera;
    camera.setScreenSize(1920, 1080);
    camera.setFocalLength(35.0f);
    // Start-up order: the tint is set before the switch, so it passes unchanged until setFocus.
    camera.setExposure(glm::vec3(1.0f, 2.0f, 4.0f));
    camera.setPhysicalExposure(true);
    EXPECT_EQ(camera.exposure(), glm::vec3(1.0f, 2.0f, 4.0f));
    camera.setFocus(15.0f, 0.075f);
    EXPECT_NEAR(camera.exposure().y, 2.0f * 0.0530330f, 1e-6f);
    camera.setExposure(glm::vec3(8.0f, 16.0f, 6.0f));
    EXPECT_NEAR(camera.exposure().z, 6.0f * 0.0530330f, 1e-6f);

    camera.setPhysicalExposure(false);
    EXPECT_NEAR(camera.exposure().z, 6.0f * 0.0530330f, 1e-6f);  // stored only
    camera.setExposure(glm::vec3(8.0f, 16.0f, 6.0f));
    EXPECT_EQ(camera.exposure(), glm::vec3(8.0f, 16.0f, 6.0f));
    EXPECT_EQ(camera.exposureTint(), glm::vec3(8.0f, 16.0f, 6.0f));
}

TEST(Camera, ConstructedWithIdentityMatricesAndNoExposure)
{
    const Camera camera;
    EXPECT_EQ(camera.view(), glm::mat4(1.0f));
    EXPECT_EQ(camera.projection(), glm::mat4(1.0f));
    EXPECT_EQ(camera.viewProjection(), glm::mat4(1.0f));
    EXPECT_EQ(camera.exposure(), glm::vec3(0.0f));
}
