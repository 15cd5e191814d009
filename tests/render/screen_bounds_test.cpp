// The screen bounds of a sphere, against the pixels whose rays actually hit it (the test the
// particles' fragment stage makes): none may fall outside, and a small sphere in view must
// not take the whole screen.
#include "render/screen_bounds.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/mat4x4.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr GLint viewport[4] = {0, 0, 160, 90};

bool inside(const PixelRect& rect, int x, int y)
{
    return x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
}

// Does the ray through the centre of pixel (x, y) hit the sphere in front of the eye?
bool rayHits(const glm::mat4& viewProjection, const glm::vec3& eye, int x, int y, const glm::vec3& centre, float radius)
{
    const glm::vec2 ndc((float(x) + 0.5f) / float(viewport[2]) * 2.0f - 1.0f,
                        (float(y) + 0.5f) / float(viewport[3]) * 2.0f - 1.0f);
    const glm::vec4 far = glm::inverse(viewProjection) * glm::vec4(ndc, 1.0f, 1.0f);
    const glm::vec3 direction = glm::normalize(glm::vec3(far) / far.w - eye);
    const glm::vec3 toEye = eye - centre;
    const float along = glm::dot(toEye, direction);
    const float discriminant = along * along - (glm::dot(toEye, toEye) - radius * radius);
    return discriminant >= 0.0f && -along - std::sqrt(discriminant) > 0.0f;
}

TEST(ScreenBoundsOfSphere, HoldEveryPixelTheSphereCoversAndLittleElse)
{
    const glm::vec3 eye(15.0f, 5.0f, 3.0f);
    const glm::mat4 viewProjection = glm::perspective(glm::radians(60.0f), 16.0f / 9.0f, 0.1f, 100.0f) *
                                     glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    std::mt19937 random(5);
    std::uniform_real_distribution<float> place(-7.0f, 7.0f);
    int seen = 0;
    for (int sphere = 0; sphere < 60; ++sphere) {
        const glm::vec3 centre(place(random), 0.5f + std::abs(place(random)) * 0.4f, place(random));
        const PixelRect bounds = screenBoundsOfSphere(centre, 0.3f, viewProjection, viewport);
        int hits = 0;
        for (int y = 0; y < viewport[3]; ++y)
            for (int x = 0; x < viewport[2]; ++x)
                if (rayHits(viewProjection, eye, x, y, centre, 0.3f)) {
                    ++hits;
                    EXPECT_TRUE(inside(bounds, x, y)) << "sphere " << sphere << " pixel " << x << ", " << y;
                }
        if (hits > 0) {
            ++seen;
            EXPECT_LT(bounds.width * bounds.height, viewport[2] * viewport[3] / 8) << "sphere " << sphere;
        }
    }
    EXPECT_GT(seen, 20);
}

TEST(ScreenBoundsOfSphere, AreTheWholeViewportAtTheCameraAndEmptyOffScreen)
{
    const glm::vec3 eye(0.0f, 0.0f, 5.0f);
    const glm::mat4 viewProjection = glm::perspective(glm::radians(60.0f), 16.0f / 9.0f, 0.1f, 100.0f) *
                                     glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const PixelRect around = screenBoundsOfSphere(eye + glm::vec3(0.1f, 0.0f, 0.0f), 0.3f, viewProjection, viewport);
    EXPECT_EQ(around.x, 0);
    EXPECT_EQ(around.y, 0);
    EXPECT_EQ(around.width, viewport[2]);
    EXPECT_EQ(around.height, viewport[3]);

    const PixelRect aside = screenBoundsOfSphere(glm::vec3(40.0f, 0.0f, 0.0f), 0.3f, viewProjection, viewport);
    EXPECT_TRUE(aside.width <= 0 || aside.height <= 0);
}

}  // namespace
