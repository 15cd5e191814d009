#include "show/scene_frame.h"

#include "core/display.h"
#include "render/camera.h"
#include "render/lights.h"
#include "render/programs.h"
#include "render/renderer.h"
#include "render/screen_triangle.h"

glm::vec3 ambcolor(const Camera& camera)
{
    return ambientLight.color() * camera.exposure();
}

void drawBackground(const Camera& camera, const glm::vec3& ambcolor)
{
    program::backgroundColor.use();
    program::backgroundColor.c.set(glm::vec4(ambcolor, camera.cocParams().y));
    drawScreenTriangle();
}

void finishFrame(const Camera& camera)
{
    renderer->postProcess(camera);
    renderer->composite();
    renderer->present(int(windowWidth()), int(windowHeight()));
}
