#pragma once
// The procedural tunnel: a tube of R rings of S segments around the z axis, uploaded once as
// indexed triangle strips joined by primitive restart. Its vertex stages bend, stretch and
// scroll it each frame from uniforms (the time, a length, a radius and the four numbers that
// update() computes); it is drawn in view space, so its programs get only the projection.
//
// Vertices are (x, y, z, w) floats: a unit-circle ring position scaled by cos(pi / (S + 1)),
// ring j at z = zStart + (zStart - 1) * (j / (R - 1))^2 (rings crowd near ring 0), and w the
// position around the ring from 0 to 1 (the seam vertex appears twice, with w 0 and 1).
#include "core/gl_api.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstdint>

class Camera;

class TunnelMesh {
public:
    // Needs S >= 1, R >= 2 and (S + 1) * R <= 65535 (16-bit indices, 0xFFFF is the restart
    // marker). Other sizes are reported on standard error and give an empty tunnel that draws
    // nothing.
    TunnelMesh(uint32_t segments, uint32_t rings, float zStart);

    static bool supportsSize(uint32_t segments, uint32_t rings);

    // Seconds; called once per frame before the tunnel is drawn.
    void update(double t);

    // Geometry pass: scratch normal map (texture entry 0) on unit 3, TunnelNM/GeometryNM.
    void drawGeometry(const Camera& camera) const;
    // Forward pass: Tunnel/MaterialSolid, a specular-only metal fading to `fogColor`.
    void drawForward(const Camera& camera, const glm::vec3& fogColor) const;
    // Firework layer in the forward pass: speedline streaks (texture entry 2) on unit 3 on a
    // tube of radius rad x phase, scrolling backwards at twice the speed. Leaves face culling
    // off.
    void drawFireworks(const Camera& camera, const glm::vec3& fogColor, float phase) const;

    int32_t indexCount() const { return indexCount_; }
    int32_t vertexCount() const { return vertexCount_; }
    GLuint vertexBuffer() const { return vertexBuffer_; }
    GLuint elementBuffer() const { return elementBuffer_; }
    double time() const { return time_; }
    float length() const { return length_; }
    float radius() const { return radius_; }
    const glm::vec2& paramA() const { return paramA_; }
    const glm::vec2& paramQ() const { return paramQ_; }
    static GLuint sharedVertexArray() { return sharedVertexArray_; }

private:
    void draw() const;

    GLuint elementBuffer_ = 0;
    GLuint vertexBuffer_ = 0;
    int32_t indexCount_ = 0;
    int32_t vertexCount_ = 0;
    double time_ = 0.0;
    float length_ = 100.0f;   // sent as "len"
    float radius_ = 2.0f;     // sent as "rad"
    glm::vec2 paramA_{0.0f};  // sent as "a"
    glm::vec2 paramQ_{0.0f};  // sent as "q"
    static GLuint sharedVertexArray_;
};
