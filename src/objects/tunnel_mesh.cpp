#include "objects/tunnel_mesh.h"

#include "assets/textures.h"
#include "core/texture_units.h"
#include "render/camera.h"
#include "render/programs.h"

#include <cmath>
#include <cstdio>
#include <vector>

GLuint TunnelMesh::sharedVertexArray_ = 0;

namespace {
constexpr uint16_t restartIndex = 0xFFFF;
constexpr float pi = 3.1415927f;
constexpr float twoPi = 6.2831855f;
}  // namespace

bool TunnelMesh::supportsSize(uint32_t segments, uint32_t rings)
{
    return segments >= 1 && rings >= 2 && uint64_t(segments + 1ull) * rings <= restartIndex;
}

TunnelMesh::TunnelMesh(uint32_t segments, uint32_t rings, float zStart)
{
    if (!supportsSize(segments, rings)) {
        std::fprintf(stderr, "Tunnel mesh of %u segments and %u rings is not supported.\n", segments, rings);
        return;
    }
    const uint32_t S = segments;
    const uint32_t R = rings;

    // The ring polygon's radius is cos(pi / (S + 1)), a little under 1.
    const float ringRadius = std::cos(pi / float(S + 1));
    const float depth = zStart - 1.0f;
    std::vector<float> vertices;
    vertices.reserve(size_t(S + 1) * R * 4);
    for (uint32_t j = 0; j < R; ++j) {
        const float s = -float(j) / float(R - 1);
        const float z = s * s * depth + zStart;
        for (uint32_t k = 0; k <= S; ++k) {
            const float around = float(k) / float(S);
            const float theta = around * twoPi;
            vertices.insert(vertices.end(), {std::cos(theta) * ringRadius, std::sin(theta) * ringRadius, z, around});
        }
    }
    vertexCount_ = int32_t((S + 1) * R);
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(), GL_STATIC_DRAW);

    // One strip per pair of neighbouring rings, the deeper ring first, then a restart marker;
    // the marker after the last strip is left off.
    std::vector<uint16_t> indices;
    indices.reserve(size_t(R - 1) * (2 * S + 3));
    for (uint32_t k = 0; k + 1 < R; ++k) {
        for (uint32_t m = 0; m <= S; ++m) {
            indices.push_back(uint16_t((k + 1) * (S + 1) + m));
            indices.push_back(uint16_t(k * (S + 1) + m));
        }
        indices.push_back(restartIndex);
    }
    indexCount_ = int32_t((R - 1) * (2 * S + 2) + (R - 1) - 1);
    glGenBuffers(1, &elementBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCount_) * 2, indices.data(), GL_STATIC_DRAW);

    if (sharedVertexArray_ == 0) {
        glGenVertexArrays(1, &sharedVertexArray_);
        glBindVertexArray(sharedVertexArray_);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(0);
    }
}

void TunnelMesh::update(double t)
{
    time_ = t;
    paramA_ = glm::vec2(float(std::cos(t) * 0.5), float(std::sin(2.0 * t) * 0.25 - 0.5));
    paramQ_ = glm::vec2(float(std::cos(2.0 * t) * 0.25), float(std::sin(double(0.4f) * t) * 0.5));
}

void TunnelMesh::draw() const
{
    if (indexCount_ == 0)
        return;
    glBindVertexArray(sharedVertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    // The shared vertex array remembers the buffer of whichever tunnel pointed it last; point
    // it at this one so tunnels of different sizes never read each other's vertices.
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer_);
    glEnable(GL_PRIMITIVE_RESTART);
    glPrimitiveRestartIndex(restartIndex);
    glDrawElements(GL_TRIANGLE_STRIP, indexCount_, GL_UNSIGNED_SHORT, nullptr);
    glDisable(GL_PRIMITIVE_RESTART);
}

void TunnelMesh::drawGeometry(const Camera& camera) const
{
    selectTextureUnit(textureUnit::sceneTexture);
    glBindTexture(GL_TEXTURE_2D, textureNames[textureEntry::tunnelNormalMap]);
    const auto& geometry = program::tunnelNMGeometryNM;
    geometry.use();
    geometry.N.set(textureUnit::sceneTexture);
    geometry.r.set(1.0f, 0.0f);
    geometry.q.set(paramQ_);
    geometry.a.set(paramA_);
    geometry.len.set(length_);
    geometry.rad.set(radius_);
    geometry.time.set(time_);
    geometry.mp.set(camera.projection());
    draw();
}

void TunnelMesh::drawForward(const Camera& camera, const glm::vec3& fogColor) const
{
    const auto& material = program::tunnelMaterialSolid;
    material.use();
    material.D.set(textureUnit::diffuseLight);
    material.S.set(textureUnit::specularLight);
    material.c.set(camera.cocParams());
    material.sc.set(1.0f, 1.0f, 1.0f);
    material.fc.set(fogColor);
    material.q.set(paramQ_);
    material.a.set(paramA_);
    material.len.set(length_);
    material.rad.set(radius_);
    material.time.set(time_);
    material.mp.set(camera.projection());
    draw();
}

void TunnelMesh::drawFireworks(const Camera& camera, const glm::vec3& fogColor, float phase) const
{
    const glm::vec3 emission = camera.exposure() * glm::vec3(16.0f, 32.0f, 64.0f);
    glDisable(GL_CULL_FACE);
    selectTextureUnit(textureUnit::sceneTexture);
    glBindTexture(GL_TEXTURE_2D, textureNames[textureEntry::fireworkStreaks]);
    const auto& fireworks = program::tunnelTunnelFireWorks;
    fireworks.use();
    fireworks.T.set(textureUnit::sceneTexture);
    fireworks.c.set(camera.cocParams());
    fireworks.e.set(emission);
    fireworks.fc.set(fogColor);
    fireworks.q.set(paramQ_);
    fireworks.a.set(paramA_);
    fireworks.len.set(length_);
    fireworks.rad.set(radius_ * phase);
    fireworks.time.set(-2.0 * time_);
    fireworks.mp.set(camera.projection());
    draw();
}
