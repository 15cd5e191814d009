#pragma once
// The flash scene's 32 glowing particles. Each one is a full-screen draw of Object/
// MaterialEmissive that casts every pixel's ray at a small sphere; the shader places the sphere
// from the balance of the particle's colour, so the colours alone make the field.
#include <glm/vec3.hpp>

#include <cstdint>
#include <vector>

class Camera;

class ParticleField {
public:
    // Takes 320 draws from the shared random generator, ten a particle: of each ten, draws 3,
    // 4 and 5 (in [0, 10)) become its blue, green and red; the others are drawn and not used.
    // The colours therefore depend on every draw taken before (the renderer's 2096).
    ParticleField();

    // Forward pass, after the background fill: depth test off for the particles (the shader
    // tests the scene's depth itself) and on again afterwards; no blending, so where two
    // particles overlap the later one wins.
    void drawForward(const Camera& camera, const glm::vec3& fogColor) const;

    uint32_t count() const { return uint32_t(colors_.size()); }
    const std::vector<glm::vec3>& colors() const { return colors_; }

private:
    std::vector<glm::vec3> colors_;  // emissive linear RGB, each component in [0, 10)
};
