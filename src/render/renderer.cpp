#include "render/renderer.h"

#include "core/random.h"
#include "core/texture_units.h"
#include "render/camera.h"
#include "render/programs.h"
#include "render/screen_triangle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

enum class Size { full, half, quarter };

struct TargetTexture {
    Renderer::TextureIndex index;
    Size size;
    GLenum internalFormat;
    GLenum format;
    GLenum filter;
    GLenum wrap;
};

// The rectangle targets in creation order. The border colour of the CLAMP_TO_BORDER images is
// GL's transparent black, so the depth-of-field taps beyond the edge add nothing.
const TargetTexture targetTextures[] = {
    {Renderer::depthStencil, Size::full, GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_NEAREST, GL_CLAMP_TO_EDGE},
    {Renderer::gbuffer, Size::full, GL_RGBA8, GL_RGBA, GL_NEAREST, GL_CLAMP_TO_EDGE},
    {Renderer::diffuseLight, Size::full, GL_R11F_G11F_B10F, GL_RGB, GL_NEAREST, GL_CLAMP_TO_EDGE},
    {Renderer::specularLight, Size::full, GL_R11F_G11F_B10F, GL_RGB, GL_NEAREST, GL_CLAMP_TO_EDGE},
    {Renderer::sceneColor, Size::full, GL_RGBA16F, GL_RGBA, GL_LINEAR, GL_CLAMP_TO_EDGE},
    {Renderer::halfColor, Size::half, GL_RGBA16F, GL_RGBA, GL_LINEAR, GL_CLAMP_TO_BORDER},
    {Renderer::dofBlurA, Size::half, GL_RGBA16F, GL_RGBA, GL_LINEAR, GL_CLAMP_TO_BORDER},
    {Renderer::dofBlurB, Size::half, GL_RGBA16F, GL_RGBA, GL_LINEAR, GL_CLAMP_TO_BORDER},
    {Renderer::dofResult, Size::half, GL_R11F_G11F_B10F, GL_RGB, GL_LINEAR, GL_CLAMP_TO_EDGE},
    {Renderer::glowA, Size::quarter, GL_R11F_G11F_B10F, GL_RGB, GL_LINEAR, GL_CLAMP_TO_EDGE},
    {Renderer::glowB, Size::quarter, GL_R11F_G11F_B10F, GL_RGB, GL_LINEAR, GL_CLAMP_TO_EDGE},
    {Renderer::outputImage, Size::full, GL_SRGB8_ALPHA8, GL_RGBA, GL_LINEAR, GL_CLAMP_TO_EDGE},
    {Renderer::auxHalf, Size::half, GL_RGBA8, GL_RGBA, GL_NEAREST, GL_CLAMP_TO_EDGE},
    {Renderer::auxFull, Size::full, GL_RGBA8, GL_RGBA, GL_NEAREST, GL_CLAMP_TO_EDGE},
};

constexpr int maxColourAttachments = 4;
constexpr int noAttachment = -1;

struct FramebufferLayout {
    int colour[maxColourAttachments];
    bool depthStencil;
};

// Attachments of each framebuffer, in index order; the ones with depth share depthStencil.
const FramebufferLayout framebufferLayouts[Renderer::framebufferIndexCount] = {
    {{Renderer::gbuffer, noAttachment, noAttachment, noAttachment}, true},
    {{Renderer::diffuseLight, Renderer::specularLight, noAttachment, noAttachment}, true},
    {{Renderer::sceneColor, noAttachment, noAttachment, noAttachment}, true},
    {{Renderer::halfColor, Renderer::dofBlurA, Renderer::dofBlurB, Renderer::dofResult}, false},
    {{Renderer::glowA, Renderer::glowB, noAttachment, noAttachment}, false},
    {{Renderer::outputImage, noAttachment, noAttachment, noAttachment}, false},
    {{Renderer::auxHalf, noAttachment, noAttachment, noAttachment}, false},
    {{Renderer::auxFull, noAttachment, noAttachment, noAttachment}, true},
};

constexpr int noiseSize = 32;  // texels a side, two bytes each
constexpr int sampleKernelSize = 24;
constexpr GLuint stencilMark = 64 | 0x80;
constexpr GLuint lightStencilBit = 0x40;

void setDrawBuffers(GLenum first)
{
    glDrawBuffers(1, &first);
}

void setDrawBuffers(GLenum first, GLenum second)
{
    const GLenum buffers[] = {first, second};
    glDrawBuffers(2, buffers);
}

void bindRectangle(int unit, GLuint texture)
{
    selectTextureUnit(unit);
    glBindTexture(GL_TEXTURE_RECTANGLE, texture);
}

}  // namespace

Renderer::Renderer(int width, int height) : width_(width), height_(height)
{
    glGenTextures(textureIndexCount, textures_);
    glGenFramebuffers(framebufferIndexCount, framebuffers_);

    for (const TargetTexture& target : targetTextures) {
        const int divisor = target.size == Size::full ? 1 : target.size == Size::half ? 2 : 4;
        const GLenum type = target.format == GL_DEPTH_STENCIL ? GL_UNSIGNED_INT_24_8 : GL_FLOAT;
        glBindTexture(GL_TEXTURE_RECTANGLE, textures_[target.index]);
        // A negative size is made an empty target: the GL would refuse it with an error, and
        // an empty target fails below as every size without pixels does.
        glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GLint(target.internalFormat), std::max(0, width / divisor),
                     std::max(0, height / divisor), 0, target.format, type, nullptr);
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_MIN_FILTER, GLint(target.filter));
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_MAG_FILTER, GLint(target.filter));
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_WRAP_S, GLint(target.wrap));
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_WRAP_T, GLint(target.wrap));
    }

    // Noise: 32 x 32 texels of two random bytes.
    std::vector<uint8_t> noise(noiseSize * noiseSize * 2);
    for (uint8_t& byte : noise)
        byte = uint8_t(randomUnit() * 256.0f);
    glBindTexture(GL_TEXTURE_2D, textures_[noiseTexture]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG8, noiseSize, noiseSize, 0, GL_RG, GL_UNSIGNED_BYTE, noise.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    for (int index = 0; index < framebufferIndexCount; ++index) {
        const FramebufferLayout& layout = framebufferLayouts[index];
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[index]);
        for (int slot = 0; slot < maxColourAttachments; ++slot)
            if (layout.colour[slot] != noAttachment)
                glFramebufferTexture(GL_FRAMEBUFFER, GLenum(GL_COLOR_ATTACHMENT0 + slot),
                                     textures_[layout.colour[slot]], 0);
        if (layout.depthStencil)
            glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, textures_[depthStencil], 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            failed_ = true;
            return;
        }
        if (index == geometryTarget) {
            // Every frame clears the stencil to this value; depth and stencil start clean.
            glClearStencil(0);
            glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        }
    }

    bindRectangle(textureUnit::depthStencil, textures_[depthStencil]);
    bindRectangle(textureUnit::gbuffer, textures_[gbuffer]);
    selectTextureUnit(textureUnit::diffuseLight);

    // Sample kernel: points on the upper half of the unit disc (radius drawn before angle),
    // lifted onto the unit hemisphere.
    sampleKernel_.resize(sampleKernelSize);
    for (glm::vec3& sample : sampleKernel_) {
        const float radius = std::sqrt(randomUnit() * 1.0f);
        const float angle = randomUnit() * 3.1415927f;
        sample.x = std::cos(angle) * radius;
        sample.y = std::sin(angle) * radius;
    }
    // A radius just below 1 can round x^2 + y^2 above 1; the clamp keeps z a number.
    for (glm::vec3& sample : sampleKernel_)
        sample.z = std::sqrt(std::max(0.0f, 1.0f - sample.x * sample.x - sample.y * sample.y));
}

void Renderer::beginGeometryPass()
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[geometryTarget]);
    glViewport(0, 0, width_, height_);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glEnable(GL_STENCIL_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glStencilFunc(GL_ALWAYS, GLint(stencilMark), 0xFF);
}

namespace {

PassObserver passObserver = nullptr;

void passIssued(const char* pass)
{
    if (passObserver)
        passObserver(pass);
}

}  // namespace

void setPassObserver(PassObserver observer)
{
    passObserver = observer;
}

void Renderer::endGeometryPass()
{
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    passIssued("geometry");
}

void Renderer::beginLightPass(bool clear)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[lightTarget]);
    glViewport(0, 0, width_, height_);
    setDrawBuffers(GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1);
    if (clear) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    bindRectangle(textureUnit::depthStencil, textures_[depthStencil]);
    bindRectangle(textureUnit::gbuffer, textures_[gbuffer]);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_EQUAL, GLint(lightStencilBit), lightStencilBit);
    glEnable(GL_STENCIL_TEST);
    if (clear)
        glEnable(GL_BLEND);
}

void Renderer::endLightPass()
{
    glDepthMask(GL_TRUE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    passIssued("light");
}

void Renderer::beginForwardPass()
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[sceneTarget]);
    glViewport(0, 0, width_, height_);
    bindRectangle(textureUnit::diffuseLight, textures_[diffuseLight]);
    bindRectangle(textureUnit::specularLight, textures_[specularLight]);
    glDepthFunc(GL_EQUAL);
    glDepthMask(GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void Renderer::endForwardPass()
{
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    passIssued("forward");
}

void Renderer::postProcess(const Camera& camera)
{
    bindPostProcessTextures();
    halfSizeStage();
    passIssued("half");
    depthOfFieldStage(camera);
    passIssued("DOF");
    glowStage();
    passIssued("glow");
}

void Renderer::bindPostProcessTextures()
{
    bindRectangle(textureUnit::postSceneColor, textures_[sceneColor]);
    bindRectangle(textureUnit::postHalfColor, textures_[halfColor]);
    bindRectangle(textureUnit::postDofBlurA, textures_[dofBlurA]);
    bindRectangle(textureUnit::postDofBlurB, textures_[dofBlurB]);
    bindRectangle(textureUnit::postDofResult, textures_[dofResult]);
    bindRectangle(textureUnit::postGlowA, textures_[glowA]);
    bindRectangle(textureUnit::postGlowB, textures_[glowB]);
}

void Renderer::halfSizeStage()
{
    // Half size: sceneColor (with the circle of confusion in alpha) into halfColor.
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[halfTarget]);
    setDrawBuffers(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, width_ / 2, height_ / 2);
    program::flatHalf.use();
    program::flatHalf.S.set(textureUnit::postSceneColor);
    drawScreenTriangle();
}

void Renderer::depthOfFieldStage(const Camera& camera)
{
    // First pass: halfColor blurred along step0 and step1 into dofBlurA, B.
    setDrawBuffers(GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2);
    program::flatDOF0.use();
    program::flatDOF0.S.set(textureUnit::postHalfColor);
    program::flatDOF0.step0.set(camera.step0());
    program::flatDOF0.step1.set(camera.step1());
    drawScreenTriangle();

    // Second pass: both blurs combined along step1 and step2 into dofResult.
    setDrawBuffers(GL_COLOR_ATTACHMENT3);
    program::flatDOF1.use();
    program::flatDOF1.S.set(textureUnit::postHalfColor);
    program::flatDOF1.S0.set(textureUnit::postDofBlurA);
    program::flatDOF1.S1.set(textureUnit::postDofBlurB);
    program::flatDOF1.step1.set(camera.step1());
    program::flatDOF1.step2.set(camera.step2());
    drawScreenTriangle();
}

void Renderer::glowStage()
{
    // Quarter size: bright pass of dofResult into glowB, then blurred twice.
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[quarterTarget]);
    setDrawBuffers(GL_COLOR_ATTACHMENT1);
    glViewport(0, 0, width_ / 4, height_ / 4);
    program::flatBrightPass.use();
    program::flatBrightPass.S.set(textureUnit::postDofResult);
    drawScreenTriangle();

    setDrawBuffers(GL_COLOR_ATTACHMENT0);
    program::flatGlow0.use();
    program::flatGlow0.S.set(textureUnit::postGlowB);
    drawScreenTriangle();

    setDrawBuffers(GL_COLOR_ATTACHMENT1);
    program::flatGlow1.use();
    program::flatGlow1.S.set(textureUnit::postGlowA);
    drawScreenTriangle();
}

void Renderer::composite()
{
    bindRectangle(textureUnit::compositeSceneColor, textures_[sceneColor]);
    bindRectangle(textureUnit::compositeDofResult, textures_[dofResult]);
    bindRectangle(textureUnit::compositeGlow, textures_[glowB]);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[outputTarget]);
    glViewport(0, 0, width_, height_);
    // Combine writes linear values; they are stored sRGB-encoded.
    glEnable(GL_FRAMEBUFFER_SRGB);
    program::flatCombine.use();
    program::flatCombine.A.set(textureUnit::compositeSceneColor);
    program::flatCombine.D.set(textureUnit::compositeDofResult);
    program::flatCombine.G.set(textureUnit::compositeGlow);
    drawScreenTriangle();
    glDisable(GL_FRAMEBUFFER_SRGB);
    passIssued("composite");
}

void Renderer::present(int windowWidth, int windowHeight)
{
    bindRectangle(textureUnit::presentOutputImage, textures_[outputImage]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glEnable(GL_FRAMEBUFFER_SRGB);
    program::flatFXAA.use();
    program::flatFXAA.S.set(textureUnit::presentOutputImage);
    program::flatFXAA.s.set(float(windowWidth) / float(width_), float(windowHeight) / float(height_));
    drawScreenTriangle();
    glDisable(GL_FRAMEBUFFER_SRGB);
    passIssued("FXAA");
}
