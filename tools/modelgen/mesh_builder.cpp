#include "mesh_builder.h"

#include <cstdio>
#include <cstdlib>

void MeshBuilder::beginPart()
{
    weld.clear();
}

void MeshBuilder::beginGroup()
{
    source.groups.emplace_back();
}

uint16_t MeshBuilder::vertex(const Point& p)
{
    auto found = weld.find(p);
    if (found != weld.end())
        return found->second;
    if (vertexCount() >= 65535) {
        // A generator bug, not an input error: the shapes are fixed in this source.
        std::fprintf(stderr, "modelgen: a mesh exceeds 65535 vertices\n");
        std::exit(1);
    }
    uint16_t index = uint16_t(vertexCount());
    source.positions.insert(source.positions.end(), p.begin(), p.end());
    weld.emplace(p, index);
    return index;
}

void MeshBuilder::triangle(uint16_t a, uint16_t b, uint16_t c)
{
    if (a == b || b == c || a == c)
        return;
    if (source.groups.empty())
        beginGroup();
    source.groups.back().push_back(ModelSourceTriangle{{a, b, c}});
}

void MeshBuilder::quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d)
{
    triangle(a, b, c);
    triangle(a, c, d);
}
