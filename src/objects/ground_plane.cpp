#include "objects/ground_plane.h"

#include "core/texture_units.h"
#include "render/camera.h"
#include "render/programs.h"

#include <cstdint>

GLuint GroundPlane::sharedVertexArray_ = 0;

namespace {
// Position, normal, tangent: nine floats a vertex. As a triangle strip both triangles are
// counter-clockwise seen from above.
const float planeVertices[4][9] = {
    {-1000.0f, 0.0f, -1000.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f},
    {-1000.0f, 0.0f, 1000.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f},
    {1000.0f, 0.0f, -1000.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f},
    {1000.0f, 0.0f, 1000.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f},
};
constexpr GLsizei stride = sizeof(planeVertices[0]);

const void* byteOffset(uintptr_t bytes)
{
    return reinterpret_cast<const void*>(bytes);
}
}  // namespace

GroundPlane::GroundPlane()
{
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(planeVertices), planeVertices, GL_STATIC_DRAW);
    if (sharedVertexArray_ != 0)
        return;

    glGenVertexArrays(1, &sharedVertexArray_);
    glBindVertexArray(sharedVertexArray_);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(0));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(12));
    glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(24));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
}

void GroundPlane::setTextures(GLuint albedo, GLuint normalMap)
{
    albedoTexture_ = albedo;
    normalMapTexture_ = normalMap;
}

void GroundPlane::setTs(float value)
{
    ts_ = value;
}

void GroundPlane::draw() const
{
    glBindVertexArray(sharedVertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void GroundPlane::drawGeometry(const Camera& camera) const
{
    selectTextureUnit(textureUnit::sceneTexture);
    glBindTexture(GL_TEXTURE_2D, normalMapTexture_);
    const auto& geometry = program::planeNMGeometryNM;
    geometry.use();
    geometry.N.set(textureUnit::sceneTexture);
    geometry.r.set(0.0f, 0.5f);
    geometry.m.set(camera.viewProjection());
    geometry.nm.set(camera.view());
    geometry.ts.set(ts_);
    draw();
}

void GroundPlane::drawForward(const Camera& camera, const glm::vec3& fogColor) const
{
    selectTextureUnit(textureUnit::groundColor);
    glBindTexture(GL_TEXTURE_2D, albedoTexture_);
    const auto& material = program::planeMaterialAlbedo;
    material.use();
    material.A.set(textureUnit::groundColor);
    material.D.set(textureUnit::diffuseLight);
    material.S.set(textureUnit::specularLight);
    material.c.set(camera.cocParams());
    material.sc.set(1.0f, 1.0f, 1.0f);
    material.ds.set(0.0f, 0.0f, 0.0f);
    material.db.set(0.0f, 0.0f, 0.0f);
    material.fc.set(fogColor);
    material.m.set(camera.viewProjection());
    material.ts.set(ts_);
    draw();
}
