#include "render/lights.h"

#include "core/texture_units.h"
#include "render/camera.h"
#include "render/programs.h"
#include "render/screen_triangle.h"

#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>

void AmbientLight::apply(const Camera& camera)
{
    const glm::vec3 exposure = camera.exposure();
    const auto& environment = program::flatEnvironment;
    environment.use();
    environment.N.set(textureUnit::gbuffer);
    // The scene binds the environment on the unit first; without that the draw samples
    // whatever 2-D texture the unit holds.
    environment.E.set(textureUnit::sceneTexture);
    environment.a.set(color_ * exposure);
    environment.s.set(exposure);
    environment.b.set(0.0f, 0.0f, 0.0f);
    drawScreenTriangle();
}

void DirectionalLight::apply(const Camera& camera)
{
    // The shader wants the unit vector from the surface towards the light, in view space.
    const glm::vec3 towardsLight = glm::normalize(-(glm::mat3(camera.view()) * direction_));
    const auto& directional = program::lightDirectional;
    directional.use();
    directional.N.set(textureUnit::gbuffer);
    directional.dir.set(towardsLight);
    directional.col.set(color_ * camera.exposure());
    directional.hfov.set(camera.hfov());
    drawScreenTriangle();
}
