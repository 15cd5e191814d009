// Pictures of the generated models drawn on the CPU from the same vertex stream the GPU gets
// (positions and smoothed normals), so they can be looked at on any machine, and so a broken
// stream shows up as a missing or dark model.
#include "assets/model_table.h"

#include "assets/model_pose.h"
#include "core/load_whole_file.h"
#include "support/gl_context.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace {

constexpr int width = 320, height = 240;

struct Picture {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(size_t(width) * height * 4, 20);
    std::vector<float> depth = std::vector<float>(size_t(width) * height, std::numeric_limits<float>::max());
    size_t covered = 0;
};

// Z-buffered triangles, Lambert-shaded per pixel from the interpolated normal sums; back
// faces culled as the show's passes cull them.
void rasterise(const std::vector<float>& stream, int stride, const glm::mat4& transform, Picture& picture)
{
    const glm::vec3 light = glm::normalize(glm::vec3(-0.4f, 0.7f, 0.6f));
    for (size_t t = 0; t + size_t(3 * stride) <= stream.size(); t += size_t(3 * stride)) {
        glm::vec3 screen[3], normal[3];
        bool visible = true;
        for (int k = 0; k < 3; ++k) {
            const float* v = &stream[t + size_t(k * stride)];
            glm::vec4 clip = transform * glm::vec4(v[0], v[1], v[2], 1.0f);
            visible = visible && clip.w > 0.01f;
            screen[k] = glm::vec3((clip.x / clip.w * 0.5f + 0.5f) * width, (0.5f - clip.y / clip.w * 0.5f) * height,
                                  clip.z / clip.w);
            int normalAt = stride == 14 ? 5 : 3;
            normal[k] = glm::vec3(v[normalAt], v[normalAt + 1], v[normalAt + 2]);
        }
        float area = (screen[1].x - screen[0].x) * (screen[2].y - screen[0].y) -
                     (screen[1].y - screen[0].y) * (screen[2].x - screen[0].x);
        if (!visible || area >= 0.0f)  // counter-clockwise on screen is negative here (y down)
            continue;
        int x0 = std::max(0, int(std::floor(std::min({screen[0].x, screen[1].x, screen[2].x}))));
        int x1 = std::min(width - 1, int(std::ceil(std::max({screen[0].x, screen[1].x, screen[2].x}))));
        int y0 = std::max(0, int(std::floor(std::min({screen[0].y, screen[1].y, screen[2].y}))));
        int y1 = std::min(height - 1, int(std::ceil(std::max({screen[0].y, screen[1].y, screen[2].y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = float(x) + 0.5f, py = float(y) + 0.5f;
                float w[3];
                for (int k = 0; k < 3; ++k) {
                    const glm::vec3& a = screen[(k + 1) % 3];
                    const glm::vec3& b = screen[(k + 2) % 3];
                    w[k] = ((b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x)) / area;
                }
                if (w[0] < 0 || w[1] < 0 || w[2] < 0)
                    continue;
                float z = w[0] * screen[0].z + w[1] * screen[1].z + w[2] * screen[2].z;
                size_t at = size_t(y) * width + size_t(x);
                if (z >= picture.depth[at])
                    continue;
                if (picture.depth[at] == std::numeric_limits<float>::max())
                    ++picture.covered;
                picture.depth[at] = z;
                glm::vec3 n = w[0] * normal[0] + w[1] * normal[1] + w[2] * normal[2];
                float length = glm::length(n);
                float lit = length > 0.0f ? std::max(0.0f, glm::dot(n / length, light)) : 0.0f;
                float shade = 0.15f + 0.85f * lit;
                const float tint[3] = {1.0f, 0.92f, 0.8f};
                for (int c = 0; c < 3; ++c)
                    picture.rgba[at * 4 + size_t(c)] = uint8_t(std::min(255.0f, 255.0f * shade * tint[c]));
                picture.rgba[at * 4 + 3] = 255;
            }
    }
    for (size_t i = 3; i < picture.rgba.size(); i += 4)
        picture.rgba[i] = 255;
}

}  // namespace

TEST(GeneratedModelPictures, EveryModelDrawsAsASolidLitShape)
{
    for (int i = 0; i < modelCount; ++i) {
        size_t size = 0;
        uint8_t* bytes = loadWholeFile(modelFiles[i], &size);
        ASSERT_NE(bytes, nullptr) << modelFiles[i];
        ParsedModel model;
        std::string error;
        ASSERT_TRUE(parseModelFile(bytes, size, model, error)) << error;
        std::free(bytes);
        std::vector<float> stream = buildVertexStream(model);

        const ModelPose pose = modelPose(int(i));
        const glm::mat4& place = pose.place;
        const float distance = pose.distance;
        glm::mat4 projection = glm::perspective(glm::radians(40.0f), float(width) / height, 0.1f, 100.0f);
        glm::mat4 view = glm::lookAt(glm::vec3(0, distance * 0.3f, distance), glm::vec3(0), glm::vec3(0, 1, 0));
        Picture picture;
        rasterise(stream, model.textured() ? 14 : 6, projection * view * place, picture);

        EXPECT_GT(picture.covered, size_t(width) * height / 50) << modelFiles[i];
        // Lit from the upper front: a sound normal stream gives mostly bright pixels.
        size_t bright = 0;
        for (size_t p = 0; p < picture.depth.size(); ++p)
            bright += picture.depth[p] < std::numeric_limits<float>::max() && picture.rgba[p * 4] > 100 ? 1 : 0;
        EXPECT_GT(bright, picture.covered / 3) << modelFiles[i];
        std::string name = std::filesystem::path(modelFiles[i]).stem().string();
        EXPECT_NE(writeTestImage("model-" + name, picture.rgba, width, height), "");
    }
}
