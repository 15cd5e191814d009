// The tunnel's generated buffers and its per-frame parameters.
#include "objects/tunnel_mesh.h"

#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

template <typename T> std::vector<T> readBuffer(GLenum target, GLuint buffer, size_t count)
{
    glBindBuffer(target, buffer);
    const void* mapped = glMapBuffer(target, GL_READ_ONLY);
    std::vector<T> values(count);
    if (mapped)
        std::memcpy(values.data(), mapped, count * sizeof(T));
    glUnmapBuffer(target);
    return values;
}

}  // namespace

TEST(TunnelMesh, StartUpTunnelHasItsVerticesAndStrips)
{
    ASSERT_TRUE(ensureGLContext());
    glBindVertexArray(0);
    const TunnelMesh tunnel(32, 64, 0.001f);
    EXPECT_EQ(tunnel.vertexCount(), 2112);
    EXPECT_EQ(tunnel.indexCount(), 4220);
    EXPECT_EQ(tunnel.length(), 100.0f);
    EXPECT_EQ(tunnel.radius(), 2.0f);

    const std::vector<float> vertices = readBuffer<float>(GL_ARRAY_BUFFER, tunnel.vertexBuffer(), 2112 * 4);
    // Ring j at zStart + (zStart - 1) (j / 63)^2; every vertex at the ring polygon's radius.
    for (int ring : {0, 1, 31, 63}) {
        const float expectedZ = 0.001f + (0.001f - 1.0f) * float(ring * ring) / float(63 * 63);
        for (int k : {0, 7, 32}) {
            const float* vertex = &vertices[size_t(ring * 33 + k) * 4];
            EXPECT_NEAR(vertex[2], expectedZ, 1e-6f);
            EXPECT_NEAR(std::hypot(vertex[0], vertex[1]), 0.99547f, 1e-5f);
            EXPECT_FLOAT_EQ(vertex[3], float(k) / 32.0f);
        }
        // The seam: first and last vertex of a ring coincide, w 0 and 1.
        EXPECT_NEAR(vertices[size_t(ring * 33) * 4], vertices[size_t(ring * 33 + 32) * 4], 1e-6f);
    }
    EXPECT_NEAR(vertices[size_t(63 * 33) * 4 + 2], -0.998f, 1e-6f);

    const std::vector<uint16_t> indices = readBuffer<uint16_t>(GL_ELEMENT_ARRAY_BUFFER, tunnel.elementBuffer(), 4220);
    // Strip k: (k + 1)(S + 1) + m, then k (S + 1) + m, then the restart marker.
    EXPECT_EQ(indices[0], 33);
    EXPECT_EQ(indices[1], 0);
    EXPECT_EQ(indices[65], 32);
    EXPECT_EQ(indices[66], 0xFFFF);
    EXPECT_EQ(indices[67], 66);
    EXPECT_EQ(indices[68], 33);
    EXPECT_EQ(indices[4219], 62 * 33 + 32);
    int restarts = 0;
    for (uint16_t index : indices) {
        if (index == 0xFFFF)
            ++restarts;
        else
            EXPECT_LT(index, 2112);
    }
    EXPECT_EQ(restarts, 62);
}

TEST(TunnelMesh, UpdateDerivesTheBendFromTheTime)
{
    ASSERT_TRUE(ensureGLContext());
    TunnelMesh tunnel(4, 2, 0.0f);
    tunnel.update(0.0);
    EXPECT_FLOAT_EQ(tunnel.paramA().x, 0.5f);
    EXPECT_FLOAT_EQ(tunnel.paramA().y, -0.5f);
    EXPECT_FLOAT_EQ(tunnel.paramQ().x, 0.25f);
    EXPECT_FLOAT_EQ(tunnel.paramQ().y, 0.0f);

    // The time stays double: far into the show it still tells frames apart.
    tunnel.update(1000.0 + 1.0 / 120.0);
    EXPECT_DOUBLE_EQ(tunnel.time(), 1000.0 + 1.0 / 120.0);
    EXPECT_FLOAT_EQ(tunnel.paramQ().y, float(std::sin(0.4000000059604645 * tunnel.time()) * 0.5));
}

TEST(TunnelMesh, SizesBeyondSixteenBitIndicesAreRefused)
{
    ASSERT_TRUE(ensureGLContext());
    EXPECT_TRUE(TunnelMesh::supportsSize(1, 2));
    EXPECT_TRUE(TunnelMesh::supportsSize(254, 257));  // 65535 vertices
    EXPECT_FALSE(TunnelMesh::supportsSize(254, 258));
    EXPECT_FALSE(TunnelMesh::supportsSize(0, 64));
    EXPECT_FALSE(TunnelMesh::supportsSize(32, 1));
    EXPECT_FALSE(TunnelMesh::supportsSize(0xFFFFFFFFu, 2));

    testing::internal::CaptureStderr();
    const TunnelMesh refused(32, 1, 0.001f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Tunnel mesh of 32 segments and 1 rings is not supported.\n");
    EXPECT_EQ(refused.indexCount(), 0);
    EXPECT_EQ(refused.vertexBuffer(), 0u);
}
