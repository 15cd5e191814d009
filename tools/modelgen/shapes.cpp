#include "shapes.h"

#include "mesh_primitives.h"

#include <cmath>
#include <vector>

ModelSource makeSphere()
{
    MeshBuilder builder;
    builder.beginGroup();
    const int columns = 48, rows = 24;
    addWrappedGrid(builder, columns, rows, [&](int i, int j) {
        if (j == 0 || j == rows)
            return Point{0.0f, j == 0 ? -1.0f : 1.0f, 0.0f};
        float around = 2.0f * pi * float(i) / float(columns);
        float up = -0.5f * pi + pi * float(j) / float(rows);
        return Point{std::cos(up) * std::cos(around), std::sin(up), -std::cos(up) * std::sin(around)};
    });
    return builder.result();
}

ModelSource makeTexturedCube()
{
    ModelSource cube;
    cube.textured = true;
    for (int i = 0; i < 8; ++i)
        cube.positions.insert(cube.positions.end(), {i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
    // Per face, seen from outside: bottom-left, bottom-right, top-right, top-left, so u runs
    // to the right and v upwards (the side faces stand upright, y up).
    const uint16_t faces[6][4] = {
        {5, 1, 3, 7}, {0, 4, 6, 2},  // +x, -x
        {6, 7, 3, 2}, {0, 1, 5, 4},  // +y, -y
        {4, 5, 7, 6}, {1, 0, 2, 3},  // +z, -z
    };
    const uint16_t uv[4][2] = {{0, 0}, {65535, 0}, {65535, 65535}, {0, 65535}};
    for (const auto& face : faces) {
        std::vector<ModelSourceTriangle> group;
        const int split[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (const auto& triangle : split) {
            ModelSourceTriangle t{{face[triangle[0]], face[triangle[1]], face[triangle[2]]}};
            for (int k = 0; k < 3; ++k) {
                t.uv[2 * k] = uv[triangle[k]][0];
                t.uv[2 * k + 1] = uv[triangle[k]][1];
            }
            group.push_back(t);
        }
        cube.groups.push_back(group);
    }
    return cube;
}
