#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr float pi = 3.14159265358979f;

Point add(Point a, Point b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Point sub(Point a, Point b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Point mul(Point a, float s) { return {a[0] * s, a[1] * s, a[2] * s}; }
Point cross(Point a, Point b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Point unit(Point a)
{
    float length = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    return mul(a, 1.0f / length);
}

// A tube of `radius` around the closed curve path(s), s in [0, 1), with a frame carried along
// the curve (parallel transport, closed by spreading the remaining twist over the loop).
void addTubeAlong(MeshBuilder& builder, const std::function<Point(float)>& path, float radius,
                  int sides, int steps)
{
    std::vector<Point> centre(static_cast<size_t>(steps)), tangent(centre), normal(centre);
    for (int j = 0; j < steps; ++j) {
        float s = float(j) / float(steps);
        centre[size_t(j)] = path(s);
        tangent[size_t(j)] = unit(sub(path(s + 0.5f / float(steps)), path(s - 0.5f / float(steps))));
    }
    Point seed = std::fabs(tangent[0][1]) < 0.9f ? Point{0, 1, 0} : Point{1, 0, 0};
    normal[0] = unit(cross(cross(tangent[0], seed), tangent[0]));
    for (int j = 1; j < steps; ++j) {
        Point n = normal[size_t(j - 1)];
        Point t = tangent[size_t(j)];
        float along = n[0] * t[0] + n[1] * t[1] + n[2] * t[2];
        normal[size_t(j)] = unit(sub(n, mul(t, along)));
    }
    // Angle between the transported frame's end and its start, shared out along the loop.
    Point end = normal[size_t(steps - 1)];
    Point t0 = tangent[0];
    Point b0 = cross(t0, normal[0]);
    float gap = std::atan2(end[0] * b0[0] + end[1] * b0[1] + end[2] * b0[2],
                           end[0] * normal[0][0] + end[1] * normal[0][1] + end[2] * normal[0][2]);
    addClosedTube(builder, sides, steps, 0, [&](int i, int j) {
        Point t = tangent[size_t(j)], n = normal[size_t(j)];
        Point b = cross(t, n);
        // Decreasing angle with i keeps the quads counter-clockwise from outside.
        float angle = -2.0f * pi * float(i) / float(sides) - gap * float(j) / float(steps);
        Point offset = add(mul(n, std::cos(angle) * radius), mul(b, std::sin(angle) * radius));
        return add(centre[size_t(j)], offset);
    });
}

// A closed prism: the polygon outline(k) (counter-clockwise seen from +y, `corners` points)
// swept from y0 to y1 in `layers` steps, turned by twist(y) radians about y. Each side strip
// between two outline corners is its own group (hard edges along the corners); the caps are
// two more groups.
void addPrism(MeshBuilder& builder, int corners, const std::function<std::array<float, 2>(int)>& outline,
              float y0, float y1, int layers, const std::function<float(float)>& twist)
{
    auto at = [&](int k, int layer) {
        float y = y0 + (y1 - y0) * float(layer) / float(layers);
        std::array<float, 2> p = outline(k % corners);
        float a = twist(y), c = std::cos(a), s = std::sin(a);
        return builder.vertex({p[0] * c - p[1] * s, y, p[0] * s + p[1] * c});
    };
    for (int k = 0; k < corners; ++k) {
        builder.beginGroup();
        for (int layer = 0; layer < layers; ++layer)
            builder.quad(at(k, layer), at(k + 1, layer), at(k + 1, layer + 1), at(k, layer + 1));
    }
    // Caps as fans from their centre, which is inside every outline used here.
    uint16_t bottom = builder.vertex({0, y0, 0}), top = builder.vertex({0, y1, 0});
    builder.beginGroup();
    for (int k = 0; k < corners; ++k)
        builder.triangle(bottom, at(k + 1, 0), at(k, 0));
    builder.beginGroup();
    for (int k = 0; k < corners; ++k)
        builder.triangle(top, at(k, layers), at(k + 1, layers));
}

// An axis-aligned box from `low` to `high`, one group per face.
void addBox(MeshBuilder& builder, Point low, Point high)
{
    builder.beginPart();
    auto v = [&](int x, int y, int z) {
        return builder.vertex({x ? high[0] : low[0], y ? high[1] : low[1], z ? high[2] : low[2]});
    };
    const int faces[6][4][3] = {
        {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}},
        {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}},
    };
    for (const auto& face : faces) {
        builder.beginGroup();
        builder.quad(v(face[0][0], face[0][1], face[0][2]), v(face[1][0], face[1][1], face[1][2]),
                     v(face[2][0], face[2][1], face[2][2]), v(face[3][0], face[3][1], face[3][2]));
    }
}

// A torus about the y axis at height y: ring radius `major`, tube radius `minor`.
void addTorus(MeshBuilder& builder, float y, float major, float minor, int sides, int steps)
{
    builder.beginPart();
    builder.beginGroup();
    addClosedTube(builder, sides, steps, 0, [&](int i, int j) {
        float around = 2.0f * pi * float(j) / float(steps);
        float tube = 2.0f * pi * float(i) / float(sides);
        float r = major + minor * std::cos(tube);
        return Point{r * std::cos(around), y + minor * std::sin(tube), -r * std::sin(around)};
    });
}

ModelSource torusKnot()
{
    MeshBuilder builder;
    builder.beginGroup();
    // A (2, 3) knot stretched along y; the tube radius keeps the strands apart.
    addTubeAlong(builder, [](float s) {
        float t = 2.0f * pi * s;
        float r = 0.55f + 0.25f * std::cos(3.0f * t);
        return Point{r * std::cos(2.0f * t), 0.72f * std::sin(3.0f * t), r * std::sin(2.0f * t)};
    }, 0.16f, 16, 240);
    return builder.result();
}

ModelSource gearStack()
{
    MeshBuilder builder;
    // Three gears of falling size, each a flat extrusion of a toothed outline.
    const float radii[3] = {0.95f, 0.75f, 0.55f};
    const int teeth[3] = {16, 12, 9};
    for (int g = 0; g < 3; ++g) {
        builder.beginPart();
        float y0 = -0.95f + 0.66f * float(g), y1 = y0 + 0.5f;
        int corners = teeth[g] * 4;
        float outer = radii[g], inner = radii[g] * 0.82f;
        addPrism(builder, corners, [&](int k) {
            // Per tooth: rising flank, top land, falling flank, root.
            int tooth = k / 4, phase = k % 4;
            float step = 2.0f * pi / float(teeth[g]);
            const float at[4] = {0.0f, 0.2f, 0.5f, 0.7f};
            float a = -(float(tooth) + at[phase]) * step;
            float r = (phase == 1 || phase == 2) ? outer : inner;
            return std::array<float, 2>{r * std::cos(a), r * std::sin(a)};
        }, y0, y1, 1, [g](float) { return 0.3f * float(g); });
    }
    // The shaft the gears turn on.
    addBox(builder, {-0.14f, -1.0f, -0.14f}, {0.14f, 1.0f, 0.14f});
    return builder.result();
}

ModelSource twistedStar()
{
    MeshBuilder builder;
    addPrism(builder, 10, [](int k) {
        float a = -2.0f * pi * float(k) / 10.0f;
        float r = k % 2 ? 0.42f : 0.98f;
        return std::array<float, 2>{r * std::cos(a), r * std::sin(a)};
    }, -1.0f, 1.0f, 48, [](float y) { return 1.4f * y; });
    return builder.result();
}

ModelSource latticeTower()
{
    MeshBuilder builder;
    // Four corner posts, rings of rails every third of the height, crossing struts per level.
    const float post = 0.09f, rail = 0.06f, edge = 0.8f;
    for (int x : {-1, 1})
        for (int z : {-1, 1})
            addBox(builder, {x * edge - post, -1.0f, z * edge - post}, {x * edge + post, 1.0f, z * edge + post});
    for (int level = 0; level < 4; ++level) {
        float y = -0.85f + float(level) * 0.5666f;
        for (int side : {-1, 1}) {
            addBox(builder, {-edge + post, y - rail, side * edge - rail}, {edge - post, y + rail, side * edge + rail});
            addBox(builder, {side * edge - rail, y - rail, -edge + post}, {side * edge + rail, y + rail, edge - post});
        }
        addBox(builder, {-0.22f, y - 0.04f, -0.22f}, {0.22f, y + 0.04f, 0.22f});
    }
    addBox(builder, {-0.05f, -0.85f, -0.05f}, {0.05f, 0.85f, 0.05f});
    return builder.result();
}

ModelSource helixSpring()
{
    MeshBuilder builder;
    // Four and a half turns from bottom to top, closed into one loop by a straight return
    // through the middle, so the wire has no open ends.
    const float turns = 4.5f, coil = 0.75f, wire = 0.11f;
    builder.beginGroup();
    addTubeAlong(builder, [&](float s) {
        if (s < 0.0f)
            s += 1.0f;
        if (s >= 1.0f)
            s -= 1.0f;
        const float helixShare = 0.85f;
        if (s < helixShare) {
            float h = s / helixShare;
            float a = 2.0f * pi * turns * h;
            return Point{coil * std::cos(a), -0.85f + 1.7f * h, coil * std::sin(a)};
        }
        // Return path: from the top end (angle 9 pi: x = -coil) down through the middle to
        // the start, bowed towards +z so it clears the coil's axis.
        float r = (s - helixShare) / (1.0f - helixShare);
        float bend = std::sin(pi * r);
        return Point{coil * (2.0f * r - 1.0f), 0.85f - 1.7f * r, 0.25f * bend};
    }, wire, 12, 600);
    return builder.result();
}

ModelSource stackedRings()
{
    MeshBuilder builder;
    const int count = 6;
    for (int i = 0; i < count; ++i) {
        float h = float(i) / float(count - 1);
        float major = 0.5f + 0.32f * std::sin(pi * h);
        addTorus(builder, -0.82f + 1.64f * h, major, 0.13f, 16, 64);
    }
    return builder.result();
}

ModelSource facetedCrystal()
{
    MeshBuilder builder;
    // A seven-sided column with uneven pyramids at both ends; every face flat.
    const int sides = 7;
    std::vector<Point> low, high;
    for (int k = 0; k < sides; ++k) {
        float a = 2.0f * pi * float(k) / float(sides);
        float r = 0.62f + 0.18f * std::sin(3.0f * a + 0.5f);
        low.push_back({r * std::cos(a), -0.45f + 0.1f * std::cos(2.0f * a), -r * std::sin(a)});
        high.push_back({r * 0.9f * std::cos(a), 0.35f + 0.12f * std::sin(2.0f * a), -r * 0.9f * std::sin(a)});
    }
    uint16_t bottom = builder.vertex({0.08f, -1.0f, 0.05f}), top = builder.vertex({-0.06f, 1.0f, -0.04f});
    for (int k = 0; k < sides; ++k) {
        int n = (k + 1) % sides;
        uint16_t l0 = builder.vertex(low[size_t(k)]), l1 = builder.vertex(low[size_t(n)]);
        uint16_t h0 = builder.vertex(high[size_t(k)]), h1 = builder.vertex(high[size_t(n)]);
        builder.beginGroup();
        builder.triangle(l0, l1, h1);
        builder.beginGroup();
        builder.triangle(l0, h1, h0);
        builder.beginGroup();
        builder.triangle(h0, h1, top);
        builder.beginGroup();
        builder.triangle(l1, l0, bottom);
    }
    return builder.result();
}

ModelSource superellipsoid()
{
    MeshBuilder builder;
    builder.beginGroup();
    // |x|^r + |y|^r + |z|^r style rounded box: signed powers of the sphere's sines and cosines.
    auto signedPower = [](float v, float e) { return std::copysign(std::pow(std::fabs(v), e), v); };
    const int columns = 64, rows = 48;
    addWrappedGrid(builder, columns, rows, [&](int i, int j) {
        float around = 2.0f * pi * float(i) / float(columns);
        float up = -0.5f * pi + pi * float(j) / float(rows);
        if (j == 0 || j == rows)
            return Point{0.0f, j == 0 ? -1.0f : 1.0f, 0.0f};
        float ce = signedPower(std::cos(up), 0.35f), se = signedPower(std::sin(up), 0.35f);
        return Point{0.9f * ce * signedPower(std::cos(around), 0.6f), se,
                     -0.9f * ce * signedPower(std::sin(around), 0.6f)};
    });
    return builder.result();
}

ModelSource moebiusBand()
{
    MeshBuilder builder;
    // A flat band (rectangular section) standing on edge and turned half over along its loop,
    // so the two broad faces are one surface: one group for them, one for the two rims.
    const int steps = 160;
    const float radius = 0.62f, halfWidth = 0.36f, halfThickness = 0.05f;
    const float corner[4][2] = {{halfThickness, -halfWidth}, {halfThickness, halfWidth},
                                {-halfThickness, halfWidth}, {-halfThickness, -halfWidth}};
    auto point = [&](int i, int j) {
        float a = 2.0f * pi * float(j) / float(steps);
        float turn = 0.5f * a;
        float across = corner[i][0] * std::cos(turn) - corner[i][1] * std::sin(turn);
        float along = corner[i][0] * std::sin(turn) + corner[i][1] * std::cos(turn);
        float r = radius + across;
        // Stretched along y to make use of the tall frame.
        return Point{r * std::cos(a), along * 2.6f, -r * std::sin(a)};
    };
    std::vector<uint16_t> index(size_t(4 * steps));
    for (int j = 0; j < steps; ++j)
        for (int i = 0; i < 4; ++i)
            index[size_t(j * 4 + i)] = builder.vertex(point(i, j));
    // After one loop the section is turned by 180 degrees: corner i meets corner i + 2.
    for (int face = 0; face < 4; ++face) {
        builder.beginGroup();
        for (int j = 0; j < steps; ++j) {
            bool last = j + 1 == steps;
            int nj = last ? 0 : j + 1, shift = last ? 2 : 0;
            int i0 = face, i1 = (face + 1) % 4;
            builder.quad(index[size_t(j * 4 + i0)], index[size_t(nj * 4 + (i0 + shift) % 4)],
                         index[size_t(nj * 4 + (i1 + shift) % 4)], index[size_t(j * 4 + i1)]);
        }
    }
    return builder.result();
}

}  // namespace

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
        {5, 1, 3, 7}, {0, 4, 6, 2},   // +x, -x
        {6, 7, 3, 2}, {0, 1, 5, 4},   // +y, -y
        {4, 5, 7, 6}, {1, 0, 2, 3},   // +z, -z
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

ModelSource makeSculpture(int k)
{
    switch (k) {
    case 0: return torusKnot();
    case 1: return gearStack();
    case 2: return twistedStar();
    case 3: return latticeTower();
    case 4: return helixSpring();
    case 5: return stackedRings();
    case 6: return facetedCrystal();
    case 7: return superellipsoid();
    default: return moebiusBand();
    }
}
