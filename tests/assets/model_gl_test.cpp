// Model upload and drawing on a real driver (llvmpipe): the buffer holds the stream, the
// attribute layout reaches a shader, and each generated model renders to a picture.
#include "assets/model_bytes.h"
#include "assets/model_table.h"

#include "assets/model_pose.h"
#include "core/gl_api.h"
#include "support/gl_context.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

std::string writeTempFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories("test-output");
    std::string path = "test-output/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

GLuint compile(GLenum stage, const char* source)
{
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    EXPECT_TRUE(ok);
    return shader;
}

// Shades by the smoothed normal (location 2) or shows the texture coordinate (location 1).
GLuint viewerProgram(bool showUv)
{
    static const char* vertex = R"(#version 330 core
layout(location = 0) in vec3 A0;
layout(location = 1) in vec2 A1;
layout(location = 2) in vec3 A2;
uniform mat4 m;
out vec3 normal;
out vec2 uv;
void main() { gl_Position = m * vec4(A0, 1.0); normal = A2; uv = A1; })";
    static const char* shaded = R"(#version 330 core
in vec3 normal;
in vec2 uv;
out vec4 O0;
void main() {
    vec3 n = normalize(normal);
    float light = 0.2 + 0.8 * max(dot(n, normalize(vec3(-0.4, 0.7, 0.6))), 0.0);
    O0 = vec4(vec3(light) * vec3(1.0, 0.9, 0.8) + 0.15 * (n * 0.5 + 0.5), 1.0);
})";
    static const char* uvColour = R"(#version 330 core
in vec3 normal;
in vec2 uv;
out vec4 O0;
void main() { O0 = vec4(uv, 0.0, 1.0); })";
    GLuint program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER, vertex));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, showUv ? uvColour : shaded));
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    EXPECT_TRUE(ok);
    return program;
}

// An off-screen colour and depth target of its own, so the pictures do not depend on the
// stand-in screen.
struct Target {
    static constexpr int width = 320, height = 240;
    GLuint framebuffer = 0, colour = 0, depth = 0;

    Target()
    {
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    }

    void clear()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, width, height);
        glClearColor(0.05f, 0.05f, 0.08f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
    }

    // RGBA8, top row first.
    std::vector<uint8_t> read()
    {
        std::vector<uint8_t> pixels(size_t(width) * height * 4), flipped(pixels.size());
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        size_t row = size_t(width) * 4;
        for (int y = 0; y < height; ++y)
            std::copy_n(&pixels[size_t(height - 1 - y) * row], row, &flipped[size_t(y) * row]);
        return flipped;
    }
};

void drawWith(GLuint program, const Model& model, const glm::mat4& transform)
{
    glUseProgram(program);
    glUniformMatrix4fv(glGetUniformLocation(program, "m"), 1, GL_FALSE, glm::value_ptr(transform));
    model.draw();
}

}  // namespace

TEST(ModelUpload, SmallestFileFillsTheBufferWithItsStream)
{
    ASSERT_TRUE(ensureGLContext());
    std::string path = writeTempFile("smallest.3d", smallestModelFile());
    Model model;
    ASSERT_TRUE(model.load(path.c_str()));
    EXPECT_EQ(model.triangleCount, 1u);
    ASSERT_EQ(model.groups.size(), 1u);
    GLint bound = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(GLuint(bound), model.vertexArray) << "the vertex array stays bound";
    glBindBuffer(GL_ARRAY_BUFFER, model.vertexBuffer);
    const float* mapped = static_cast<const float*>(glMapBuffer(GL_ARRAY_BUFFER, GL_READ_ONLY));
    ASSERT_NE(mapped, nullptr);
    std::vector<float> stored(mapped, mapped + 18);
    glUnmapBuffer(GL_ARRAY_BUFFER);
    std::vector<float> expected = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(stored, expected);
}

TEST(ModelUpload, MissingFileIsSilentAndMalformedFileIsNamed)
{
    ASSERT_TRUE(ensureGLContext());
    Model model;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(model.load("3d/no-such-model.3d"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(model.triangleCount, 0u);
    EXPECT_EQ(model.vertexArray, 0u);

    // The last index (little-endian) set to the vertex count, one past the last vertex.
    std::vector<uint8_t> bytes = smallestModelFile();
    bytes[bytes.size() - 2] = 3;
    bytes.back() = 0;
    std::string path = writeTempFile("bad-index.3d", bytes);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(model.load(path.c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Model file error: " + path + ": vertex index out of range\n");
    EXPECT_EQ(model.vertexBuffer, 0u);
    EXPECT_TRUE(model.groups.empty());
    // An empty model draws nothing and does not fail.
    model.draw();
}

TEST(ModelUpload, TexturedLayoutDeliversUvToLocationOne)
{
    ASSERT_TRUE(ensureGLContext());
    // One textured quad filling the viewport, u along x and v along y.
    ModelBytes file;
    file.u8(0x14).u16({4}).f32({-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0}).u16({2});
    file.u16({0, 0, 0, 1, 65535, 0, 2, 65535, 65535});
    file.u16({0, 0, 0, 2, 65535, 65535, 3, 0, 65535});
    std::string path = writeTempFile("textured-quad.3d", file.bytes);
    Model quad;
    ASSERT_TRUE(quad.load(path.c_str()));
    Target target;
    target.clear();
    drawWith(viewerProgram(true), quad, glm::mat4(1.0f));
    std::vector<uint8_t> pixels = target.read();
    // Bottom-left is (0, 0), bottom-right red, top-right yellow; the middle is half of each.
    auto at = [&](int x, int y) { return &pixels[(size_t(Target::height - 1 - y) * Target::width + size_t(x)) * 4]; };
    EXPECT_NEAR(at(2, 2)[0], 2, 3);
    EXPECT_NEAR(at(Target::width - 3, 2)[0], 253, 3);
    EXPECT_NEAR(at(Target::width - 3, 2)[1], 2, 3);
    EXPECT_NEAR(at(Target::width - 3, Target::height - 3)[1], 253, 3);
    EXPECT_NEAR(at(Target::width / 2, Target::height / 2)[0], 128, 3);
    EXPECT_NEAR(at(Target::width / 2, Target::height / 2)[1], 128, 3);
}

TEST(GeneratedModelPictures, EveryModelLoadsAndCoversThePicture)
{
    ASSERT_TRUE(ensureGLContext());
    GLuint program = viewerProgram(false);
    Target target;
    for (int i = 0; i < modelCount; ++i) {
        Model model;
        ASSERT_TRUE(model.load(modelFiles[i])) << modelFiles[i];
        size_t triangles = 0;
        for (const auto& group : model.groups)
            triangles += group.size();
        EXPECT_EQ(model.triangleCount, triangles);

        glm::mat4 projection =
            glm::perspective(glm::radians(40.0f), float(Target::width) / Target::height, 0.1f, 100.0f);
        const ModelPose pose = modelPose(int(i));
        const glm::mat4& place = pose.place;
        const float distance = pose.distance;
        glm::mat4 view = glm::lookAt(glm::vec3(0, distance * 0.3f, distance), glm::vec3(0), glm::vec3(0, 1, 0));
        target.clear();
        drawWith(program, model, projection * view * place);
        std::vector<uint8_t> pixels = target.read();
        size_t covered = 0;
        for (size_t p = 0; p < pixels.size(); p += 4)
            covered += pixels[p] > 40 ? 1 : 0;
        EXPECT_GT(covered, size_t(Target::width) * Target::height / 50) << modelFiles[i];
        std::string name = std::filesystem::path(modelFiles[i]).stem().string();
        EXPECT_NE(writeTestImage("model-" + name, pixels, Target::width, Target::height), "");
    }
}
