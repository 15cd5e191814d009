// What the passes compute, read back from the targets: lighting of the ground plane, lights
// adding up, the background filling exactly the uncovered pixels, and a whole test frame free
// of NaN and infinity (written to test-output/ to look at).
#include "assets/textures.h"
#include "core/texture_units.h"
#include "objects/ground_plane.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/programs.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"
#include "render/shader_library.h"
#include "render_fixture.h"
#include "show/show.h"
#include "support/gl_context.h"
#include "test_frame.h"

#include "platform/platform.h"
#include "platform/platform_headless.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int frameWidth = 320;
constexpr int frameHeight = 180;

class RenderedPixels : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ensureGLContext(frameWidth, frameHeight));
        createStandInTextures();
        ASSERT_TRUE(createTestFrameObjects(frameWidth, frameHeight));
    }

    void SetUp() override
    {
        camera.setScreenSize(frameWidth, frameHeight);
        camera.setNear(0.1f);
        camera.setFar(100.0f);
        camera.setFocalLength(35.0f);
        camera.setPhysicalExposure(false);
        camera.setExposure(glm::vec3(1.0f));
        camera.setFocus(15.0f, 0.075f);
        camera.updateProjection();
    }

    // The ground plane into the geometry pass; `flipped` turns it over to face down.
    void drawPlaneGeometry(bool flipped)
    {
        show.renderer->beginGeometryPass();
        if (!flipped) {
            show.groundPlane->drawGeometry(camera);
        } else {
            const glm::mat4 flip = glm::rotate(glm::mat4(1.0f), 3.14159265f, glm::vec3(1.0f, 0.0f, 0.0f));
            selectTextureUnit(textureUnit::sceneTexture);
            glBindTexture(GL_TEXTURE_2D, textureNames[textureEntry::groundNormalMap]);
            const auto& geometry = program::planeNMGeometryNM;
            geometry.use();
            geometry.N.set(textureUnit::sceneTexture);
            geometry.r.set(0.0f, 0.5f);
            geometry.m.set(camera.viewProjection() * flip);
            geometry.nm.set(camera.view() * flip);
            geometry.ts.set(-0.125f);
            glBindVertexArray(GroundPlane::sharedVertexArray());
            glBindBuffer(GL_ARRAY_BUFFER, show.groundPlane->vertexBuffer());
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        }
        show.renderer->endGeometryPass();
    }

    enum class Lights { ambient, directional, both };

    void applyLights(Lights lights)
    {
        show.renderer->beginLightPass(false);
        glActiveTexture(GL_TEXTURE3);
        glBindTexture(GL_TEXTURE_2D, show.ambientLight.environmentTexture());
        if (lights != Lights::directional)
            show.ambientLight.apply(camera);
        if (lights == Lights::both)
            glEnable(GL_BLEND);
        if (lights != Lights::ambient)
            show.directionalLight.apply(camera);
        show.renderer->endLightPass();
    }

    std::vector<float> read(Renderer::TextureIndex index, GLenum format, int components)
    {
        return readRectangleFloats(show.renderer->texture(index), frameWidth, frameHeight, format, components);
    }

    glm::vec3 centreOf(const std::vector<float>& rgb)
    {
        const size_t at = (size_t(frameHeight / 2) * frameWidth + frameWidth / 2) * 3;
        return glm::vec3(rgb[at], rgb[at + 1], rgb[at + 2]);
    }

    Show& show = testFrameShow();
    Camera& camera = show.camera;
};

}  // namespace

TEST_F(RenderedPixels, PlaneFacingTheLightIsLitAndFacingAwayIsNot)
{
    // From above, the plane faces the light travelling down (0, -1, 0).
    camera.lookAt(glm::vec3(0.0f, 5.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    drawPlaneGeometry(false);
    applyLights(Lights::directional);
    const glm::vec3 litFromAbove = centreOf(read(Renderer::diffuseLight, GL_RGB, 3));
    EXPECT_GT(litFromAbove.r, 0.5f);
    // The light's colour (2, 1, 0.75) shows in the diffuse light.
    EXPECT_GT(litFromAbove.r, litFromAbove.g);
    EXPECT_GT(litFromAbove.g, litFromAbove.b);

    // Turned over and seen from below, it faces away from the light.
    camera.lookAt(glm::vec3(0.0f, -5.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    drawPlaneGeometry(true);
    const std::vector<uint8_t> stencil =
        readStencil(show.renderer->texture(Renderer::depthStencil), frameWidth, frameHeight);
    ASSERT_EQ(stencil[size_t(frameHeight / 2) * frameWidth + frameWidth / 2], 0xC0) << "the turned plane was not drawn";
    applyLights(Lights::directional);
    const glm::vec3 facingAway = centreOf(read(Renderer::diffuseLight, GL_RGB, 3));
    EXPECT_LT(facingAway.r, 0.01f);
    EXPECT_LT(facingAway.g, 0.01f);
}

TEST_F(RenderedPixels, LightAlongTheLineOfSightStaysFinite)
{
    // Seen from straight above: a light from behind the eye (its half vector is the view
    // direction itself, and v.h may round above 1), then one from straight below, opposite the
    // eye (no half vector at all). Neither may leave a NaN in the light buffers.
    // A long lens, so that every pixel's line of sight is within a hair of straight down.
    camera.setFocalLength(20000.0f);
    camera.setFocus(15.0f, 0.075f);
    camera.updateProjection();
    camera.lookAt(glm::vec3(0.0f, 5.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    drawPlaneGeometry(false);
    const glm::vec3 previous = show.directionalLight.direction();
    for (const glm::vec3 travel : {glm::vec3(0.0f, -1.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f)}) {
        show.directionalLight.setDirection(travel);
        applyLights(Lights::directional);
        for (auto index : {Renderer::diffuseLight, Renderer::specularLight}) {
            const std::vector<float> light = read(index, GL_RGB, 3);
            EXPECT_EQ(std::count_if(light.begin(), light.end(), [](float v) { return !std::isfinite(v); }), 0)
                << "travelling " << travel.y << ", buffer " << int(index);
        }
    }
    show.directionalLight.setDirection(previous);
}

TEST_F(RenderedPixels, TwoLightsAddUp)
{
    camera.lookAt(glm::vec3(3.0f, 2.0f, 4.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    drawPlaneGeometry(false);
    applyLights(Lights::ambient);
    const std::vector<float> ambientDiffuse = read(Renderer::diffuseLight, GL_RGB, 3);
    const std::vector<float> ambientSpecular = read(Renderer::specularLight, GL_RGB, 3);
    applyLights(Lights::directional);
    const std::vector<float> directionalDiffuse = read(Renderer::diffuseLight, GL_RGB, 3);
    const std::vector<float> directionalSpecular = read(Renderer::specularLight, GL_RGB, 3);
    applyLights(Lights::both);
    const std::vector<float> bothDiffuse = read(Renderer::diffuseLight, GL_RGB, 3);
    const std::vector<float> bothSpecular = read(Renderer::specularLight, GL_RGB, 3);

    const std::vector<uint8_t> stencil =
        readStencil(show.renderer->texture(Renderer::depthStencil), frameWidth, frameHeight);
    int marked = 0, litByBoth = 0;
    for (size_t pixel = 0; pixel < stencil.size(); ++pixel) {
        if (!(stencil[pixel] & 0x40))
            continue;
        ++marked;
        for (size_t c = pixel * 3; c < pixel * 3 + 3; ++c) {
            // The light buffers keep about 6 bits of mantissa.
            const float sumDiffuse = ambientDiffuse[c] + directionalDiffuse[c];
            const float sumSpecular = ambientSpecular[c] + directionalSpecular[c];
            ASSERT_NEAR(bothDiffuse[c], sumDiffuse, 0.04f * sumDiffuse + 1e-3f) << "pixel " << pixel;
            ASSERT_NEAR(bothSpecular[c], sumSpecular, 0.04f * sumSpecular + 1e-3f) << "pixel " << pixel;
        }
        if (ambientDiffuse[pixel * 3] > 0.0f && directionalDiffuse[pixel * 3] > 0.0f)
            ++litByBoth;
    }
    EXPECT_GT(marked, frameWidth * frameHeight / 4);
    EXPECT_GT(litByBoth, marked / 2);
}

TEST_F(RenderedPixels, BackgroundFillsExactlyTheUncoveredPixels)
{
    // Looking along the ground: the plane covers the lower part up to the far plane.
    camera.lookAt(glm::vec3(0.0f, 2.0f, 0.0f), glm::vec3(0.0f, 1.0f, -10.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    drawPlaneGeometry(false);
    applyLights(Lights::both);

    // A value no pass writes, so a pixel left untouched shows.
    glBindFramebuffer(GL_FRAMEBUFFER, show.renderer->framebuffer(Renderer::sceneTarget));
    glClearColor(-7.0f, -7.0f, -7.0f, -7.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    const glm::vec4 background(0.25f, 0.5f, 0.75f, 1.0f);
    show.renderer->beginForwardPass();
    show.groundPlane->drawForward(camera, glm::vec3(0.0f));
    program::backgroundColor.use();
    program::backgroundColor.c.set(background);
    drawScreenTriangle();
    show.renderer->endForwardPass();

    const std::vector<float> scene = read(Renderer::sceneColor, GL_RGBA, 4);
    const std::vector<uint8_t> stencil =
        readStencil(show.renderer->texture(Renderer::depthStencil), frameWidth, frameHeight);
    int covered = 0, uncovered = 0;
    for (size_t pixel = 0; pixel < stencil.size(); ++pixel) {
        const glm::vec3 color(scene[pixel * 4], scene[pixel * 4 + 1], scene[pixel * 4 + 2]);
        ASSERT_NE(color.r, -7.0f) << "pixel " << pixel << " was never written";
        if (stencil[pixel]) {
            ++covered;
            ASSERT_NE(color, glm::vec3(background)) << "background over covered pixel " << pixel;
        } else {
            ++uncovered;
            // The fog colour graded as a sky: a bright haze towards the bottom of the screen,
            // deeper and bluer towards the top, within a factor of four either way.
            ASSERT_TRUE(glm::all(glm::lessThanEqual(color, glm::vec3(background) * 2.6f))) << "pixel " << pixel;
            ASSERT_TRUE(glm::all(glm::greaterThan(color, glm::vec3(background) * 0.25f))) << "pixel " << pixel;
        }
    }
    EXPECT_GT(covered, frameWidth * frameHeight / 4);
    EXPECT_GT(uncovered, frameWidth * frameHeight / 4);
}

TEST_F(RenderedPixels, WholeFrameIsFiniteEverywhere)
{
    // Start-up's camera: effective exposure 0.053 from the aperture.
    camera.setPhysicalExposure(true);
    enterFullscreen();
    for (double t : {0.0, 2.0, 7.5}) {
        drawTestFrame(t, TestFrameContent{});
        SCOPED_TRACE(t);
        const std::vector<float> scene = read(Renderer::sceneColor, GL_RGBA, 4);
        size_t nonFinite = 0;
        for (float value : scene)
            if (!std::isfinite(value))
                ++nonFinite;
        EXPECT_EQ(nonFinite, 0u);
        const std::vector<float> dof = readRectangleFloats(show.renderer->texture(Renderer::dofResult), frameWidth / 2,
                                                           frameHeight / 2, GL_RGB, 3);
        for (float value : dof)
            ASSERT_TRUE(std::isfinite(value));

        uint32_t width = 0, height = 0;
        const std::vector<uint8_t> presented = readPresentedFrame(width, height);
        // Not one flat colour: the objects show.
        int differing = 0;
        for (size_t i = 4; i < presented.size(); i += 4)
            differing += presented[i] != presented[0] || presented[i + 1] != presented[1];
        EXPECT_GT(differing, int(width * height) / 4);
        writeTestImage("test-frame-t" + std::to_string(int(t * 10)), presented, width, height);
    }
}
