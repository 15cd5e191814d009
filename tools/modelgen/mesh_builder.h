#pragma once
// Assembles a .3d mesh: vertices welded by exact position within a part, triangles in
// smoothing groups. Vertices shared by triangles of one group get one smoothed normal; a
// vertex used by two groups gets a normal in each, so a new group makes a hard edge.
#include "assets/model_writer.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

using Point = std::array<float, 3>;

class MeshBuilder {
public:
    // Starts a new part: later vertices never weld with earlier ones (for pieces that touch
    // or overlap without being joined).
    void beginPart();
    // Starts a new smoothing group; triangles go to the latest group.
    void beginGroup();
    // The index of the vertex at p in the current part, created on first use.
    uint16_t vertex(const Point& p);
    // A triangle with counter-clockwise corners seen from outside; dropped when two corners
    // are the same vertex.
    void triangle(uint16_t a, uint16_t b, uint16_t c);
    // A quad a-b-c-d, counter-clockwise from outside, as two triangles.
    void quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d);

    size_t vertexCount() const { return source.positions.size() / 3; }
    const ModelSource& result() const { return source; }

private:
    ModelSource source;
    std::map<Point, uint16_t> weld;
};

// A grid wrapped around like a surface of revolution: `columns` by `rows` quads of points
// surface(i, j), i in [0, columns) wrapping around, j in [0, rows]. For a closed surface the
// rows j = 0 and j = rows each give one point for every i (poles): welding merges them and the
// collapsed triangles are dropped. Orientation: counter-clockwise when i runs to the right
// and j upwards as seen from outside.
template <typename Surface> void addWrappedGrid(MeshBuilder& builder, int columns, int rows, Surface surface)
{
    std::vector<uint16_t> index(size_t(columns) * size_t(rows + 1));
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i < columns; ++i)
            index[size_t(j) * size_t(columns) + size_t(i)] = builder.vertex(surface(i, j));
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            int next = (i + 1) % columns;
            builder.quad(index[size_t(j) * size_t(columns) + size_t(i)],
                         index[size_t(j) * size_t(columns) + size_t(next)],
                         index[size_t(j + 1) * size_t(columns) + size_t(next)],
                         index[size_t(j + 1) * size_t(columns) + size_t(i)]);
        }
}

// A tube: `columns` around the cross-section, `rows` along a closed path; the last ring joins
// the first ring shifted by `twist` columns (0 for a plain torus; columns / 2 turns a
// symmetric cross-section over, as in a Moebius band).
template <typename Surface> void addClosedTube(MeshBuilder& builder, int columns, int rows, int twist, Surface surface)
{
    std::vector<uint16_t> index(size_t(columns) * size_t(rows));
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i)
            index[size_t(j) * size_t(columns) + size_t(i)] = builder.vertex(surface(i, j));
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            int nextI = (i + 1) % columns;
            bool last = j + 1 == rows;
            int nextJ = last ? 0 : j + 1;
            int shift = last ? twist : 0;
            builder.quad(index[size_t(j) * size_t(columns) + size_t(i)],
                         index[size_t(nextJ) * size_t(columns) + size_t((i + shift) % columns)],
                         index[size_t(nextJ) * size_t(columns) + size_t((nextI + shift) % columns)],
                         index[size_t(j) * size_t(columns) + size_t(nextI)]);
        }
}
