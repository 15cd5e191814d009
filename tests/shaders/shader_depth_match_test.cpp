// The geometry pass and the forward pass draw the same surface with two different programs and
// meet with depth test EQUAL: the forward program must land on exactly the depth the geometry
// program wrote, in every pixel, or the surface breaks into holes. Checked for each pair on
// real meshes: the tunnel, the ground plane and a non-uniformly scaled model.
#include "shaders/shader_build.h"
#include "support/gl_context.h"

#include "core/gl_api.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;

struct Mesh {
    std::vector<float> vertices;
    std::vector<uint16_t> indices;                     // empty: drawn as plain arrays
    int componentsAt0 = 3;                             // floats per vertex at A0
    int stride = 0;                                    // floats per vertex
    std::vector<std::pair<int, int>> extraAttributes;  // (location, float offset), 3 floats each
    GLenum mode = GL_TRIANGLES;
};

// The show's tube: S segments, R rings, squeezed towards ring 0, strips joined by restart.
Mesh tunnelMesh(int segments, int rings, float zStart)
{
    Mesh mesh;
    mesh.componentsAt0 = 4;
    mesh.stride = 4;
    mesh.mode = GL_TRIANGLE_STRIP;
    float ringRadius = std::cos(3.1415927f / float(segments + 1));
    for (int j = 0; j < rings; ++j) {
        float s = -float(j) / float(rings - 1);
        float z = s * s * (zStart - 1.0f) + zStart;
        for (int k = 0; k <= segments; ++k) {
            float theta = float(k) / float(segments) * 6.2831855f;
            mesh.vertices.insert(mesh.vertices.end(), {std::cos(theta) * ringRadius, std::sin(theta) * ringRadius, z,
                                                       float(k) / float(segments)});
        }
    }
    for (int k = 0; k + 1 < rings; ++k) {
        for (int m = 0; m <= segments; ++m) {
            mesh.indices.push_back(uint16_t((k + 1) * (segments + 1) + m));
            mesh.indices.push_back(uint16_t(k * (segments + 1) + m));
        }
        mesh.indices.push_back(0xFFFF);
    }
    return mesh;
}

Mesh groundPlane()
{
    Mesh mesh;
    mesh.stride = 9;
    mesh.extraAttributes = {{1, 3}, {2, 6}};
    mesh.mode = GL_TRIANGLE_STRIP;
    for (float x : {-1000.0f, 1000.0f})
        for (float z : {-1000.0f, 1000.0f})
            mesh.vertices.insert(mesh.vertices.end(), {x, 0, z, 0, 1, 0, 1, 0, 0});
    return mesh;
}

// A UV sphere as a plain triangle list with the normal at A2, like a plain model file.
Mesh sphereModel(int slices, int stacks)
{
    Mesh mesh;
    mesh.stride = 6;
    mesh.extraAttributes = {{2, 3}};
    auto point = [&](int i, int j) {
        float theta = float(j) / float(stacks) * 3.1415927f;
        float phi = float(i) / float(slices) * 6.2831855f;
        return glm::vec3(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
    };
    for (int j = 0; j < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            glm::vec3 corners[4] = {point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1)};
            for (int c : {0, 1, 2, 0, 2, 3})
                mesh.vertices.insert(mesh.vertices.end(), {corners[c].x, corners[c].y, corners[c].z, corners[c].x,
                                                           corners[c].y, corners[c].z});
        }
    }
    return mesh;
}

void drawMesh(const Mesh& mesh)
{
    GLuint vertexArray = 0, buffers[2] = {0, 0};
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(2, buffers);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(mesh.vertices.size() * sizeof(float)), mesh.vertices.data(),
                 GL_STATIC_DRAW);
    GLsizei strideBytes = GLsizei(mesh.stride * sizeof(float));
    glVertexAttribPointer(0, mesh.componentsAt0, GL_FLOAT, GL_FALSE, strideBytes, nullptr);
    glEnableVertexAttribArray(0);
    for (auto [location, offset] : mesh.extraAttributes) {
        glVertexAttribPointer(GLuint(location), 3, GL_FLOAT, GL_FALSE, strideBytes,
                              reinterpret_cast<const void*>(size_t(offset) * sizeof(float)));
        glEnableVertexAttribArray(GLuint(location));
    }
    if (mesh.indices.empty()) {
        glDrawArrays(mesh.mode, 0, GLsizei(mesh.vertices.size() / size_t(mesh.stride)));
    } else {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mesh.indices.size() * 2), mesh.indices.data(), GL_STATIC_DRAW);
        glEnable(GL_PRIMITIVE_RESTART);
        glPrimitiveRestartIndex(0xFFFF);
        glDrawElements(mesh.mode, GLsizei(mesh.indices.size()), GL_UNSIGNED_SHORT, nullptr);
        glDisable(GL_PRIMITIVE_RESTART);
    }
    glBindVertexArray(0);
    glDeleteBuffers(2, buffers);
    glDeleteVertexArrays(1, &vertexArray);
}

struct Coverage {
    int geometryPixels = 0;  // pixels the geometry program drew
    int matchedPixels = 0;   // of those, pixels where the forward program met the same depth
};

// Draws the mesh with the geometry program (depth LESS, writes), then with the forward program
// (depth EQUAL, no writes), counting through the stencil where each one passed.
Coverage measureCoverage(const Mesh& mesh, GLuint geometryProgram, GLuint forwardProgram,
                         const std::function<void(GLuint)>& setUniforms)
{
    GLuint textures[2] = {0, 0}, framebuffer = 0;
    glGenTextures(2, textures);
    glBindTexture(GL_TEXTURE_RECTANGLE, textures[0]);
    glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_RGBA8, kWidth, kHeight, 0, GL_RGBA, GL_FLOAT, nullptr);
    glBindTexture(GL_TEXTURE_RECTANGLE, textures[1]);
    glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_DEPTH24_STENCIL8, kWidth, kHeight, 0, GL_DEPTH_STENCIL,
                 GL_UNSIGNED_INT_24_8, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, textures[0], 0);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, textures[1], 0);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, kWidth, kHeight);
    glClearStencil(0);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    glEnable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glStencilFunc(GL_ALWAYS, 1, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glUseProgram(geometryProgram);
    setUniforms(geometryProgram);
    drawMesh(mesh);

    glDepthFunc(GL_EQUAL);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_EQUAL, 1, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    glUseProgram(forwardProgram);
    setUniforms(forwardProgram);
    drawMesh(mesh);

    std::vector<uint8_t> stencil(size_t(kWidth) * kHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(2, textures);

    Coverage coverage;
    for (uint8_t value : stencil) {
        coverage.geometryPixels += value >= 1 ? 1 : 0;
        coverage.matchedPixels += value == 2 ? 1 : 0;
    }
    return coverage;
}

glm::mat4 showProjection()
{
    return glm::perspective(0.46576f, float(kWidth) / float(kHeight), 0.1f, 100.0f);
}

void setMatrix(GLuint program, const char* name, const glm::mat4& matrix)
{
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(matrix));
}

class DepthMatch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ensureGLContext()); }
};

TEST_F(DepthMatch, TunnelForwardProgramMeetsTheGeometryDepthEverywhere)
{
    BuiltProgram geometry = buildProgram("TunnelNM", "GeometryNM");
    BuiltProgram forward = buildProgram("Tunnel", "MaterialSolid");
    ASSERT_NE(geometry.program, 0u) << geometry.log;
    ASSERT_NE(forward.program, 0u) << forward.log;
    glm::mat4 projection = showProjection();
    // A bent tube at a late time, where the double-precision scroll matters most.
    double t = 97.3;
    auto setTunnel = [&](GLuint program) {
        glUniform2f(glGetUniformLocation(program, "q"), float(std::cos(2 * t) * 0.25), float(std::sin(0.4 * t) * 0.5));
        glUniform2f(glGetUniformLocation(program, "a"), float(std::cos(t) * 0.5), float(std::sin(2 * t) * 0.25 - 0.5));
        glUniform1f(glGetUniformLocation(program, "len"), 100.0f);
        glUniform1f(glGetUniformLocation(program, "rad"), 2.0f);
        glUniform1d(glGetUniformLocation(program, "time"), t);
        glUniform1i(glGetUniformLocation(program, "N"), 3);
        glUniform1i(glGetUniformLocation(program, "D"), 2);
        glUniform1i(glGetUniformLocation(program, "S"), 3);
        setMatrix(program, "mp", projection);
    };
    Coverage coverage = measureCoverage(tunnelMesh(32, 64, 0.001f), geometry.program, forward.program, setTunnel);
    EXPECT_GT(coverage.geometryPixels, kWidth * kHeight / 2);
    EXPECT_EQ(coverage.matchedPixels, coverage.geometryPixels);
    glDeleteProgram(geometry.program);
    glDeleteProgram(forward.program);
}

TEST_F(DepthMatch, GroundPlaneAlbedoProgramMeetsTheGeometryDepthEverywhere)
{
    BuiltProgram geometry = buildProgram("PlaneNM", "GeometryNM");
    BuiltProgram forward = buildProgram("Plane", "MaterialAlbedo");
    ASSERT_NE(geometry.program, 0u) << geometry.log;
    ASSERT_NE(forward.program, 0u) << forward.log;
    glm::mat4 view =
        glm::lookAt(glm::vec3(15 * std::cos(3.7f), 5, 15 * std::sin(3.7f)), glm::vec3(0), glm::vec3(0, 1, 0));
    glm::mat4 viewProjection = showProjection() * view;
    auto setPlane = [&](GLuint program) {
        setMatrix(program, "m", viewProjection);
        setMatrix(program, "nm", view);
        glUniform1f(glGetUniformLocation(program, "ts"), -0.125f);
        // The show's units: samplers of different types may not share one, or nothing draws.
        glUniform1i(glGetUniformLocation(program, "N"), 3);
        glUniform1i(glGetUniformLocation(program, "A"), 4);
        glUniform1i(glGetUniformLocation(program, "D"), 2);
        glUniform1i(glGetUniformLocation(program, "S"), 3);
    };
    Coverage coverage = measureCoverage(groundPlane(), geometry.program, forward.program, setPlane);
    EXPECT_EQ(coverage.geometryPixels, kWidth * kHeight);
    EXPECT_EQ(coverage.matchedPixels, coverage.geometryPixels);
    glDeleteProgram(geometry.program);
    glDeleteProgram(forward.program);
}

TEST_F(DepthMatch, ModelMaterialProgramMeetsTheGeometryDepthEverywhere)
{
    BuiltProgram geometry = buildProgram("Object", "GeometryFlat");
    BuiltProgram forward = buildProgram("Object", "MaterialSolid");
    ASSERT_NE(geometry.program, 0u) << geometry.log;
    ASSERT_NE(forward.program, 0u) << forward.log;
    // The carousel's placement: a quarter unit ahead, stretched 1:4:1, turned.
    glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, -0.25f));
    model = glm::scale(model, glm::vec3(0.0125f, 0.05f, 0.0125f));
    model = glm::rotate(model, glm::radians(123.0f), glm::vec3(0, 1, 0));
    glm::mat4 modelViewProjection = showProjection() * model;
    auto setModel = [&](GLuint program) {
        setMatrix(program, "m", modelViewProjection);
        setMatrix(program, "nm", model);
    };
    Coverage coverage = measureCoverage(sphereModel(48, 24), geometry.program, forward.program, setModel);
    EXPECT_GT(coverage.geometryPixels, 100);
    EXPECT_EQ(coverage.matchedPixels, coverage.geometryPixels);
    glDeleteProgram(geometry.program);
    glDeleteProgram(forward.program);
}

}  // namespace
