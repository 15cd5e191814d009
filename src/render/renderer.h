#pragma once
// The frame pipeline and every off-screen image it needs. A frame calls, in this order:
//
//   beginGeometryPass  scene geometry -> gbuffer, depth, stencil 0xC0   endGeometryPass
//   beginLightPass     lights -> diffuseLight, specularLight            endLightPass
//   beginForwardPass   materials and background -> sceneColor           endForwardPass
//   postProcess(camera)   half size, depth of field, bright pass, glow
//   composite()           sharp image + depth of field + glow -> outputImage (sRGB)
//   present(w, h)         anti-aliased copy to the window
//
// State between passes (what every end operation and present leave): depth test, stencil test,
// blending and culling off; depth writes on; depth function LESS; stencil operations KEEP.
// After present: program Flat/FXAA current, framebuffer 0 bound.
//
// Render targets are rectangle textures (sampled with texel coordinates). Fixed units:
// 0 depthStencil and 1 gbuffer (light pass), 2 and 3 the light buffers (forward pass).
#include "core/gl_api.h"

#include <glm/vec3.hpp>

#include <vector>

class Camera;

class Renderer {
public:
    enum TextureIndex {
        depthStencil,
        gbuffer,
        diffuseLight,
        specularLight,
        sceneColor,
        halfColor,
        dofResult,
        dofBlurA,
        dofBlurB,
        glowA,
        glowB,
        outputImage,
        auxHalf,
        auxFull,
        noiseTexture,
        textureIndexCount
    };
    enum FramebufferIndex {
        geometryTarget,
        lightTarget,
        sceneTarget,
        halfTarget,
        quarterTarget,
        outputTarget,
        auxHalfTarget,
        auxFullTarget,
        framebufferIndexCount
    };

    // Creates every target at width x height (half and quarter size by integer division). Draws
    // 2048 numbers from the shared random generator for the noise texture, then 48 for the
    // sample kernel. On an incomplete framebuffer it sets failed() and stops there.
    Renderer(int width, int height);

    bool failed() const { return failed_; }
    int width() const { return width_; }
    int height() const { return height_; }
    GLuint texture(TextureIndex index) const { return textures_[index]; }
    GLuint framebuffer(FramebufferIndex index) const { return framebuffers_[index]; }
    const std::vector<glm::vec3>& sampleKernel() const { return sampleKernel_; }

    // Targets geometryTarget; clears depth (1.0) and stencil (0); depth test, back-face culling
    // and stencil marking (0xC0 where a fragment passes the depth test) on.
    void beginGeometryPass();
    // Culling, depth and stencil tests off; stencil operations KEEP.
    void endGeometryPass();

    // Targets lightTarget (both buffers); depthStencil on unit 0, gbuffer on unit 1; additive
    // blend function, depth writes off, stencil test passing pixels with bit 0x40. With `clear`
    // the buffers are cleared to 0 and blending switched on; without it the first light
    // replaces what the marked pixels held.
    void beginLightPass(bool clear);
    // Depth writes on; depth test, blending and stencil test off.
    void endLightPass();

    // Targets sceneTarget; light buffers on units 2 and 3; depth test EQUAL against the depth
    // the geometry pass left, depth writes off, back-face culling on.
    void beginForwardPass();
    // Culling and depth test off, depth writes on, depth function LESS.
    void endForwardPass();

    // Half size, depth of field, bright pass and glow: binds sceneColor, halfColor, dofBlurA,
    // dofBlurB, dofResult, glowA and glowB to units 2 to 8, then runs the three stages below.
    void postProcess(const Camera& camera);
    // The stages of postProcess, public so that each can be measured alone; they expect the
    // units that bindPostProcessTextures sets.
    void bindPostProcessTextures();
    void halfSizeStage();
    void depthOfFieldStage(const Camera& camera);
    void glowStage();

    void composite();
    // The window's drawing area in pixels.
    void present(int windowWidth, int windowHeight);

private:
    bool failed_ = false;
    int width_;
    int height_;
    GLuint textures_[textureIndexCount] = {};
    GLuint framebuffers_[framebufferIndexCount] = {};
    std::vector<glm::vec3> sampleKernel_;
};

// For the benchmarks: when set, called with the pass's name ("geometry", "light", "forward",
// "half", "DOF", "glow", "composite", "FXAA") as each pass of the frame has been issued. The
// show leaves it unset.
using PassObserver = void (*)(const char* pass);
void setPassObserver(PassObserver observer);
