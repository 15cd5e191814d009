// The renderer's targets, framebuffers, random draws and the GL state each pass leaves.
#include "render/renderer.h"

#include "core/random.h"
#include "render/camera.h"
#include "render/screen_triangle.h"
#include "render/shader_library.h"
#include "render_fixture.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

bool depthWrites()
{
    GLboolean value = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &value);
    return value == GL_TRUE;
}

struct Viewport {
    GLint x, y, width, height;
};

Viewport viewport()
{
    Viewport v{};
    glGetIntegerv(GL_VIEWPORT, &v.x);
    return v;
}

GLuint boundRectangle(int unit)
{
    const GLint previous = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    const GLuint texture = GLuint(integer(GL_TEXTURE_BINDING_RECTANGLE));
    glActiveTexture(GLenum(previous));
    return texture;
}

// The state that every pass leaves for the next.
void expectStateBetweenPasses()
{
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(depthWrites());
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(integer(GL_STENCIL_PASS_DEPTH_PASS), GL_KEEP);
    EXPECT_EQ(integer(GL_STENCIL_PASS_DEPTH_FAIL), GL_KEEP);
    EXPECT_EQ(integer(GL_STENCIL_FAIL), GL_KEEP);
    EXPECT_FALSE(glIsEnabled(GL_FRAMEBUFFER_SRGB));
}

class RendererAt1366x768 : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ensureGLContext());
        ASSERT_TRUE(loadShaders());
        createScreenTriangle();
        setRandomSeed(7928);
        subject = new Renderer(1366, 768);
    }
    void SetUp() override { ASSERT_NE(subject, nullptr) << "no GL context or shaders"; }
    static Renderer* subject;
};
Renderer* RendererAt1366x768::subject = nullptr;

}  // namespace

TEST_F(RendererAt1366x768, TargetsHaveTheirSizesAndFormats)
{
    ASSERT_FALSE(subject->failed());
    struct Expected {
        Renderer::TextureIndex index;
        int width, height;
        GLint format;
    };
    const Expected expected[] = {
        {Renderer::depthStencil, 1366, 768, GL_DEPTH24_STENCIL8},
        {Renderer::gbuffer, 1366, 768, GL_RGBA8},
        {Renderer::diffuseLight, 1366, 768, GL_R11F_G11F_B10F},
        {Renderer::specularLight, 1366, 768, GL_R11F_G11F_B10F},
        {Renderer::sceneColor, 1366, 768, GL_RGBA16F},
        {Renderer::halfColor, 683, 384, GL_RGBA16F},
        {Renderer::dofResult, 683, 384, GL_R11F_G11F_B10F},
        {Renderer::dofBlurA, 683, 384, GL_RGBA16F},
        {Renderer::dofBlurB, 683, 384, GL_RGBA16F},
        {Renderer::glowA, 341, 192, GL_R11F_G11F_B10F},
        {Renderer::glowB, 341, 192, GL_R11F_G11F_B10F},
        {Renderer::outputImage, 1366, 768, GL_SRGB8_ALPHA8},
        {Renderer::auxHalf, 683, 384, GL_RGBA8},
        {Renderer::auxFull, 1366, 768, GL_RGBA8},
    };
    for (const Expected& target : expected) {
        SCOPED_TRACE(target.index);
        glBindTexture(GL_TEXTURE_RECTANGLE, subject->texture(target.index));
        GLint width = 0, height = 0, format = 0, wrap = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_RECTANGLE, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_RECTANGLE, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_RECTANGLE, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexParameteriv(GL_TEXTURE_RECTANGLE, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(width, target.width);
        EXPECT_EQ(height, target.height);
        EXPECT_EQ(format, target.format);
        const bool halfRgba = target.index == Renderer::halfColor || target.index == Renderer::dofBlurA ||
                              target.index == Renderer::dofBlurB;
        EXPECT_EQ(wrap, halfRgba ? GL_CLAMP_TO_BORDER : GL_CLAMP_TO_EDGE);
    }
    glBindTexture(GL_TEXTURE_2D, subject->texture(Renderer::noiseTexture));
    GLint width = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(format, GL_RG8);
}

TEST_F(RendererAt1366x768, EveryFramebufferIsComplete)
{
    for (int index = 0; index < Renderer::framebufferIndexCount; ++index) {
        glBindFramebuffer(GL_FRAMEBUFFER, subject->framebuffer(Renderer::FramebufferIndex(index)));
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE)) << index;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(RendererAt1366x768, ConstructionDrawsNoiseThenKernelFromTheSharedGenerator)
{
    // A fresh generator replays the draws: 2048 noise bytes, then radius and angle pairs.
    setRandomSeed(7928);
    std::vector<uint8_t> expectedNoise(2048);
    for (uint8_t& byte : expectedNoise)
        byte = uint8_t(randomUnit() * 256.0f);
    std::vector<uint8_t> noise(2048);
    glBindTexture(GL_TEXTURE_2D, subject->texture(Renderer::noiseTexture));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RG, GL_UNSIGNED_BYTE, noise.data());
    EXPECT_EQ(noise, expectedNoise);

    ASSERT_EQ(subject->sampleKernel().size(), 24u);
    for (const glm::vec3& sample : subject->sampleKernel()) {
        const float radius = std::sqrt(randomUnit());
        const float angle = randomUnit() * 3.1415927f;
        EXPECT_FLOAT_EQ(sample.x, std::cos(angle) * radius);
        EXPECT_FLOAT_EQ(sample.y, std::sin(angle) * radius);
        EXPECT_GE(sample.y, 0.0f);
        EXPECT_GE(sample.z, 0.0f);
        EXPECT_NEAR(glm::length(sample), 1.0f, 1e-5f);
    }
}

TEST_F(RendererAt1366x768, PassesSetAndLeaveTheirState)
{
    Camera camera;
    camera.setScreenSize(1366, 768);
    camera.setFocalLength(35.0f);
    camera.setFocus(15.0f, 0.075f);

    subject->beginGeometryPass();
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), subject->framebuffer(Renderer::geometryTarget));
    EXPECT_EQ(viewport().width, 1366);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_STENCIL_FUNC), GL_ALWAYS);
    EXPECT_EQ(integer(GL_STENCIL_REF), 0xC0);
    EXPECT_EQ(integer(GL_STENCIL_VALUE_MASK) & 0xFF, 0xFF);
    EXPECT_EQ(integer(GL_STENCIL_PASS_DEPTH_PASS), GL_REPLACE);
    subject->endGeometryPass();
    expectStateBetweenPasses();

    subject->beginLightPass(false);
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), subject->framebuffer(Renderer::lightTarget));
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(boundRectangle(0), subject->texture(Renderer::depthStencil));
    EXPECT_EQ(boundRectangle(1), subject->texture(Renderer::gbuffer));
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_ONE);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(depthWrites());
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(integer(GL_STENCIL_FUNC), GL_EQUAL);
    EXPECT_EQ(integer(GL_STENCIL_REF), 0x40);
    EXPECT_EQ(integer(GL_STENCIL_VALUE_MASK), 0x40);
    subject->endLightPass();
    expectStateBetweenPasses();

    subject->beginLightPass(true);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    subject->endLightPass();
    expectStateBetweenPasses();

    subject->beginForwardPass();
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), subject->framebuffer(Renderer::sceneTarget));
    EXPECT_EQ(boundRectangle(2), subject->texture(Renderer::diffuseLight));
    EXPECT_EQ(boundRectangle(3), subject->texture(Renderer::specularLight));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_EQUAL);
    EXPECT_FALSE(depthWrites());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    // A special layer may change the depth function; the end restores LESS either way.
    glDepthFunc(GL_LEQUAL);
    subject->endForwardPass();
    expectStateBetweenPasses();

    subject->postProcess(camera);
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), subject->framebuffer(Renderer::quarterTarget));
    EXPECT_EQ(viewport().width, 341);
    EXPECT_EQ(viewport().height, 192);
    EXPECT_EQ(boundRectangle(2), subject->texture(Renderer::sceneColor));
    EXPECT_EQ(boundRectangle(8), subject->texture(Renderer::glowB));
    expectStateBetweenPasses();

    subject->composite();
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), subject->framebuffer(Renderer::outputTarget));
    EXPECT_EQ(boundRectangle(3), subject->texture(Renderer::dofResult));
    EXPECT_EQ(boundRectangle(4), subject->texture(Renderer::glowB));
    expectStateBetweenPasses();

    // A window half the render size: the copy fills exactly that viewport.
    subject->present(683, 384);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(viewport().width, 683);
    EXPECT_EQ(viewport().height, 384);
    EXPECT_EQ(GLuint(integer(GL_CURRENT_PROGRAM)), programs[8]);
    EXPECT_EQ(boundRectangle(2), subject->texture(Renderer::outputImage));
    expectStateBetweenPasses();
}

TEST(RendererFailure, AnIncompleteFramebufferSetsFailedAndStopsConstruction)
{
    ASSERT_TRUE(ensureGLContext());
    // At 1 x 1 the half-size targets have no pixels: framebuffer 3 is incomplete, so the
    // sample kernel (48 more draws) is never made.
    setRandomSeed(7928);
    const Renderer tiny(1, 1);
    EXPECT_TRUE(tiny.failed());
    EXPECT_TRUE(tiny.sampleKernel().empty());
    const float next = randomUnit();
    setRandomSeed(7928);
    for (int i = 0; i < 2048; ++i)
        randomUnit();
    EXPECT_EQ(next, randomUnit());

    const Renderer empty(0, 0);
    EXPECT_TRUE(empty.failed());
    const Renderer negative(-5, 100);
    EXPECT_TRUE(negative.failed());
}
