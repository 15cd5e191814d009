#include "mesh_primitives.h"

#include <cmath>
#include <vector>

Point cross(Point a, Point b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Point unit(Point a)
{
    return mul(a, 1.0f / std::sqrt(dot(a, a)));
}

Point turnAboutY(Point p, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    return {p[0] * c + p[2] * s, p[1], -p[0] * s + p[2] * c};
}

namespace {

// A triangle of a convex piece, its corners put in the order that faces away from `inside`.
void outwardTriangle(MeshBuilder& builder, Point a, Point b, Point c, Point inside)
{
    Point normal = cross(sub(b, a), sub(c, a));
    uint16_t ia = builder.vertex(a), ib = builder.vertex(b), ic = builder.vertex(c);
    if (dot(normal, sub(a, inside)) >= 0.0f)
        builder.triangle(ia, ib, ic);
    else
        builder.triangle(ia, ic, ib);
}

// Unit vectors across a direction: with `axis` they make a frame.
void across(Point axis, Point& first, Point& second)
{
    Point seed = std::fabs(axis[1]) < 0.9f ? Point{0, 1, 0} : Point{1, 0, 0};
    first = unit(cross(seed, axis));
    second = cross(axis, first);
}

// Normals carried along sampled curve points by parallel transport from a start across the
// first tangent: the section does not spin about the curve on its own.
std::vector<Point> transportedNormals(const std::vector<Point>& tangent)
{
    std::vector<Point> normal(tangent.size());
    Point unused;
    across(tangent[0], normal[0], unused);
    for (size_t j = 1; j < tangent.size(); ++j) {
        Point n = normal[j - 1];
        normal[j] = unit(sub(n, mul(tangent[j], dot(n, tangent[j]))));
    }
    return normal;
}

// The point of a round section: decreasing angle with i keeps the quads of the wrapped grids
// counter-clockwise from outside.
Point onSection(Point centre, Point tangent, Point normal, float radius, int i, int sides, float extraAngle)
{
    float angle = -2.0f * pi * float(i) / float(sides) - extraAngle;
    Point binormal = cross(tangent, normal);
    return add(centre, add(mul(normal, std::cos(angle) * radius), mul(binormal, std::sin(angle) * radius)));
}

// A parallelepiped with corner `origin` and edges e0, e1, e2 (any handedness); one group per face.
void addBlock(MeshBuilder& builder, Point origin, Point e0, Point e1, Point e2)
{
    builder.beginPart();
    Point centre = add(origin, mul(add(add(e0, e1), e2), 0.5f));
    auto corner = [&](int x, int y, int z) {
        return add(origin, add(add(mul(e0, float(x)), mul(e1, float(y))), mul(e2, float(z))));
    };
    const int faces[6][4][3] = {
        {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}},
        {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}},
    };
    for (const auto& face : faces) {
        builder.beginGroup();
        Point p[4];
        for (int k = 0; k < 4; ++k)
            p[k] = corner(face[k][0], face[k][1], face[k][2]);
        outwardTriangle(builder, p[0], p[1], p[2], centre);
        outwardTriangle(builder, p[0], p[2], p[3], centre);
    }
}

}  // namespace

void addTubeAlong(MeshBuilder& builder, const std::function<Point(float)>& path, float radius, int sides, int steps)
{
    builder.beginPart();
    builder.beginGroup();
    std::vector<Point> centre(static_cast<size_t>(steps)), tangent(centre);
    for (int j = 0; j < steps; ++j) {
        float s = float(j) / float(steps);
        centre[size_t(j)] = path(s);
        tangent[size_t(j)] = unit(sub(path(s + 0.5f / float(steps)), path(s - 0.5f / float(steps))));
    }
    std::vector<Point> normal = transportedNormals(tangent);
    // The transported frame comes back turned; the turn is spread along the loop so the
    // last section meets the first.
    Point end = normal.back();
    float gap = std::atan2(dot(end, cross(tangent[0], normal[0])), dot(end, normal[0]));
    addClosedTube(builder, sides, steps, 0, [&](int i, int j) {
        size_t at = size_t(j);
        return onSection(centre[at], tangent[at], normal[at], radius, i, sides, gap * float(j) / float(steps));
    });
}

void addSweep(MeshBuilder& builder, const std::function<Point(float)>& path, const std::function<float(float)>& radius,
              int sides, int steps)
{
    builder.beginPart();
    builder.beginGroup();
    std::vector<Point> centre(size_t(steps + 1)), tangent(centre);
    const float h = 0.5f / float(steps);
    for (int j = 0; j <= steps; ++j) {
        float s = float(j) / float(steps);
        centre[size_t(j)] = path(s);
        tangent[size_t(j)] = unit(sub(path(std::fmin(1.0f, s + h)), path(std::fmax(0.0f, s - h))));
    }
    std::vector<Point> normal = transportedNormals(tangent);
    addWrappedGrid(builder, sides, steps, [&](int i, int j) {
        size_t at = size_t(j);
        float r = radius(float(j) / float(steps));
        // The end rows collapse to their centre point, which welds them into a pole.
        if (j == 0 || j == steps)
            return centre[at];
        // The grid's rows run the other way round from a closed tube's: count i backwards.
        return onSection(centre[at], tangent[at], normal[at], r, sides - i, sides, 0.0f);
    });
}

void addPrism(MeshBuilder& builder, int corners, const std::function<std::array<float, 2>(int)>& outline, float y0,
              float y1, int layers, const std::function<float(float)>& scale, const std::function<float(float)>& twist,
              Point offset)
{
    builder.beginPart();
    auto at = [&](int k, int layer) {
        float y = y0 + (y1 - y0) * float(layer) / float(layers);
        std::array<float, 2> p = outline(k % corners);
        float a = twist(y), c = std::cos(a) * scale(y), s = std::sin(a) * scale(y);
        return builder.vertex({offset[0] + p[0] * c - p[1] * s, offset[1] + y, offset[2] + p[0] * s + p[1] * c});
    };
    for (int k = 0; k < corners; ++k) {
        builder.beginGroup();
        for (int layer = 0; layer < layers; ++layer)
            builder.quad(at(k, layer), at(k + 1, layer), at(k + 1, layer + 1), at(k, layer + 1));
    }
    // Caps as fans from the centre, which is inside every outline used here.
    uint16_t bottom = builder.vertex(add(offset, {0, y0, 0})), top = builder.vertex(add(offset, {0, y1, 0}));
    builder.beginGroup();
    for (int k = 0; k < corners; ++k)
        builder.triangle(bottom, at(k + 1, 0), at(k, 0));
    builder.beginGroup();
    for (int k = 0; k < corners; ++k)
        builder.triangle(top, at(k, layers), at(k + 1, layers));
}

void addBox(MeshBuilder& builder, Point low, Point high)
{
    Point size = sub(high, low);
    addBlock(builder, low, {size[0], 0, 0}, {0, size[1], 0}, {0, 0, size[2]});
}

void addBeam(MeshBuilder& builder, Point a, Point b, float half)
{
    Point axis = unit(sub(b, a)), first, second;
    across(axis, first, second);
    Point origin = sub(a, add(mul(first, half), mul(second, half)));
    addBlock(builder, origin, mul(first, 2.0f * half), mul(second, 2.0f * half), sub(b, a));
}

void addCrystal(MeshBuilder& builder, Point base, Point axis, float radius, float length, float tip, int sides,
                float spin)
{
    builder.beginPart();
    Point first, second;
    across(axis, first, second);
    std::vector<Point> low, high;
    for (int k = 0; k < sides; ++k) {
        float a = spin + 2.0f * pi * float(k) / float(sides);
        Point radial = add(mul(first, std::cos(a) * radius), mul(second, std::sin(a) * radius));
        low.push_back(add(base, radial));
        high.push_back(add(add(base, mul(axis, length)), radial));
    }
    Point apex = add(base, mul(axis, length + tip));
    Point foot = sub(base, mul(axis, 0.3f * radius));
    Point inside = add(base, mul(axis, 0.5f * length));
    for (int k = 0; k < sides; ++k) {
        size_t a = size_t(k), b = size_t((k + 1) % sides);
        builder.beginGroup();
        outwardTriangle(builder, low[a], low[b], high[b], inside);
        outwardTriangle(builder, low[a], high[b], high[a], inside);
        builder.beginGroup();
        outwardTriangle(builder, high[a], high[b], apex, inside);
        builder.beginGroup();
        outwardTriangle(builder, low[a], low[b], foot, inside);
    }
}

void addSuperellipsoid(MeshBuilder& builder, Point centre, Point radii, float e, float yaw)
{
    builder.beginPart();
    builder.beginGroup();
    auto signedPower = [](float v, float p) { return std::copysign(std::pow(std::fabs(v), p), v); };
    const int columns = 48, rows = 32;
    addWrappedGrid(builder, columns, rows, [&](int i, int j) {
        if (j == 0 || j == rows)
            return add(centre, {0.0f, j == 0 ? -radii[1] : radii[1], 0.0f});
        float around = 2.0f * pi * float(i) / float(columns);
        float up = -0.5f * pi + pi * float(j) / float(rows);
        float ring = signedPower(std::cos(up), e);
        Point p{radii[0] * ring * signedPower(std::cos(around), e), radii[1] * signedPower(std::sin(up), e),
                -radii[2] * ring * signedPower(std::sin(around), e)};
        return add(centre, turnAboutY(p, yaw));
    });
}
