#include "objects/placed_model.h"

#include "assets/model.h"
#include "core/texture_units.h"
#include "render/camera.h"
#include "render/programs.h"

void PlacedModel::drawGeometry(const Camera& camera) const
{
    const glm::mat4 modelView = camera.view() * transform;
    const glm::mat4 modelViewProjection = camera.viewProjection() * transform;
    const auto& geometry = program::objectGeometryFlat;
    geometry.use();
    geometry.m.set(modelViewProjection);
    geometry.nm.set(modelView);
    geometry.r.set(16.0f / 255.0f);
    model->draw();
}

void PlacedModel::drawForward(const Camera& camera, const glm::vec3& fogColor) const
{
    const glm::mat4 modelViewProjection = camera.viewProjection() * transform;
    const auto& material = program::objectMaterialSolid;
    material.use();
    material.D.set(textureUnit::diffuseLight);
    material.S.set(textureUnit::specularLight);
    material.c.set(camera.cocParams());
    material.sc.set(0.5f, 0.5f, 0.5f);
    material.dc.set(0.25f, 0.125f, 0.5f);
    material.fc.set(fogColor);
    material.m.set(modelViewProjection);
    model->draw();
}
