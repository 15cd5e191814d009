#include "test_frame.h"

#include "assets/model.h"
#include "assets/textures.h"
#include "core/gl_api.h"
#include "core/random.h"
#include "core/texture_units.h"
#include "objects/ground_plane.h"
#include "objects/tunnel_mesh.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/programs.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"
#include "render/shader_library.h"
#include "show/show.h"
#include "show/show_setup.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// What start-up would make, but for the models and the particle field.
Show testShow;
Model cube;

// A unit cube centred on the origin, plain layout: position, then normal, per vertex; faces
// counter-clockwise seen from outside.
std::vector<float> cubeStream()
{
    std::vector<float> stream;
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            glm::vec3 normal(0.0f);
            normal[axis] = sign;
            const glm::vec3 u = glm::vec3(normal.y, normal.z, normal.x);
            const glm::vec3 v = glm::cross(normal, u);
            const glm::vec3 corners[4] = {normal - u - v, normal + u - v, normal + u + v, normal - u + v};
            for (int index : {0, 1, 2, 0, 2, 3}) {
                const glm::vec3 position = corners[index] * 0.5f;
                stream.insert(stream.end(), {position.x, position.y, position.z, normal.x, normal.y, normal.z});
            }
        }
    }
    return stream;
}

void drawCubeGeometry(const Camera& camera, const glm::mat4& model)
{
    const auto& geometry = program::objectGeometryFlat;
    geometry.use();
    geometry.r.set(16.0f / 255.0f);
    geometry.m.set(camera.viewProjection() * model);
    geometry.nm.set(camera.view() * model);
    cube.draw();
}

void drawCubeForward(const Camera& camera, const glm::mat4& model, const glm::vec3& fogColor)
{
    const auto& material = program::objectMaterialSolid;
    material.use();
    material.D.set(textureUnit::diffuseLight);
    material.S.set(textureUnit::specularLight);
    material.c.set(camera.cocParams());
    material.sc.set(0.5f, 0.5f, 0.5f);
    material.dc.set(0.25f, 0.125f, 0.5f);
    material.fc.set(fogColor);
    material.m.set(camera.viewProjection() * model);
    cube.draw();
}

void drawBackground(const glm::vec3& color)
{
    program::backgroundColor.use();
    program::backgroundColor.c.set(glm::vec4(color, 1.0f));
    drawScreenTriangle();
}

void reportPass(PassDoneCallback passDone, const char* name)
{
    if (passDone)
        passDone(name);
}

}  // namespace

bool createTestFrameObjects(int width, int height)
{
    // The renderer's noise and kernel come from the generator, seeded as start-up seeds it.
    setRandomSeed(7928);
    if (!loadShaders()) {
        std::fputs("Shader compile error.\n", stderr);
        return false;
    }
    testShow.renderer = new Renderer(width, height);
    if (testShow.renderer->failed()) {
        std::fputs("Could not init frame buffers and stuff.\n", stderr);
        return false;
    }
    createScreenTriangle();
    testShow.tunnelMesh = new TunnelMesh(32, 64, 0.001f);
    testShow.groundPlane = new GroundPlane();
    cube.triangleCount = uploadVertexStream(cubeStream(), false, cube.vertexArray, cube.vertexBuffer);

    configureGroundPlaneCameraAndLights(testShow, uint32_t(width), uint32_t(height));
    return true;
}

Show& testFrameShow()
{
    return testShow;
}

glm::vec3 testFrameAmbientColor()
{
    return testShow.ambientLight.color() * testShow.camera.exposure();
}

void drawTestFrame(double t, const TestFrameContent& content, PassDoneCallback passDone)
{
    Camera& camera = testShow.camera;
    const glm::vec3 eye(float(6.0 * std::cos(t * 0.3)), 2.0f, float(6.0 * std::sin(t * 0.3)));
    camera.lookAt(eye, glm::vec3(0.0f, 0.5f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setFocus(glm::length(eye), 0.075f);
    camera.setExposure(glm::vec3(1.0f));
    const glm::vec3 ambientColor = testFrameAmbientColor();
    const glm::mat4 cubeTransform = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.5f, 0.0f)), float(t),
                                                glm::vec3(0.0f, 1.0f, 0.0f));
    testShow.tunnelMesh->update(t);

    testShow.renderer->beginGeometryPass();
    if (content.tunnel)
        testShow.tunnelMesh->drawGeometry(camera);
    if (content.groundPlane)
        testShow.groundPlane->drawGeometry(camera);
    if (content.cube)
        drawCubeGeometry(camera, cubeTransform);
    testShow.renderer->endGeometryPass();
    reportPass(passDone, "geometry");

    testShow.renderer->beginLightPass(false);
    selectTextureUnit(textureUnit::sceneTexture);
    glBindTexture(GL_TEXTURE_2D, testShow.ambientLight.environmentTexture());
    testShow.ambientLight.apply(camera);
    if (content.directionalLight) {
        glEnable(GL_BLEND);
        testShow.directionalLight.apply(camera);
    }
    testShow.renderer->endLightPass();
    reportPass(passDone, "light");

    testShow.renderer->beginForwardPass();
    if (content.tunnel)
        testShow.tunnelMesh->drawForward(camera, ambientColor);
    if (content.groundPlane)
        testShow.groundPlane->drawForward(camera, ambientColor);
    if (content.cube)
        drawCubeForward(camera, cubeTransform, ambientColor);
    drawBackground(ambientColor);
    testShow.renderer->endForwardPass();
    reportPass(passDone, "forward");

    testShow.renderer->bindPostProcessTextures();
    testShow.renderer->halfSizeStage();
    reportPass(passDone, "half");
    testShow.renderer->depthOfFieldStage(camera);
    reportPass(passDone, "DOF");
    testShow.renderer->glowStage();
    reportPass(passDone, "glow");
    testShow.renderer->composite();
    reportPass(passDone, "composite");
    testShow.renderer->present(testShow.renderer->width(), testShow.renderer->height());
    reportPass(passDone, "FXAA");
}
