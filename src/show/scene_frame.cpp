#include "show/scene_frame.h"

#include "core/display.h"
#include "core/gl_api.h"
#include "core/texture_units.h"
#include "objects/ground_plane.h"
#include "objects/placed_model.h"
#include "objects/tunnel_mesh.h"
#include "render/programs.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"
#include "show/show.h"

glm::vec3 ambcolor(const AmbientLight& ambientLight, const Camera& camera)
{
    return ambientLight.color() * camera.exposure();
}

namespace {

void drawGeometry(Show& show, Surface surface)
{
    switch (surface) {
    case Surface::placedModel: show.placedModel->drawGeometry(show.camera); break;
    case Surface::tunnel: show.tunnelMesh->drawGeometry(show.camera); break;
    case Surface::ground: show.groundPlane->drawGeometry(show.camera); break;
    case Surface::none: break;
    }
}

void drawForward(Show& show, Surface surface, const glm::vec3& fog)
{
    switch (surface) {
    case Surface::placedModel: show.placedModel->drawForward(show.camera, fog); break;
    case Surface::tunnel: show.tunnelMesh->drawForward(show.camera, fog); break;
    case Surface::ground: show.groundPlane->drawForward(show.camera, fog); break;
    case Surface::none: break;
    }
}

}  // namespace

void drawScenePasses(Show& show, const glm::vec3& fog, const ScenePasses& passes)
{
    Renderer& renderer = *show.renderer;
    const Camera& camera = show.camera;

    renderer.beginGeometryPass();
    for (Surface surface : passes.surfaces)
        drawGeometry(show, surface);
    renderer.endGeometryPass();

    renderer.beginLightPass(false);
    if (passes.bindEnvironment) {
        selectTextureUnit(textureUnit::sceneTexture);
        glBindTexture(GL_TEXTURE_2D, show.ambientLight.environmentTexture());
    }
    show.ambientLight.apply(camera);
    if (passes.sun) {
        // The sun adds to what the ambient light wrote.
        glEnable(GL_BLEND);
        show.directionalLight.apply(camera);
    }
    renderer.endLightPass();

    renderer.beginForwardPass();
    for (Surface surface : passes.surfaces)
        drawForward(show, surface, fog);
    drawBackground(camera, fog);
    if (passes.overBackground)
        passes.overBackground(show, fog);
    renderer.endForwardPass();

    finishFrame(renderer, camera);
}

void drawBackground(const Camera& camera, const glm::vec3& ambcolor)
{
    program::backgroundColor.use();
    program::backgroundColor.c.set(glm::vec4(ambcolor, camera.cocParams().y));
    drawScreenTriangle();
}

void finishFrame(Renderer& renderer, const Camera& camera)
{
    renderer.postProcess(camera);
    renderer.composite();
    renderer.present(int(windowWidth()), int(windowHeight()));
}
