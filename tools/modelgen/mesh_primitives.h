#pragma once
// Closed solids the shapes are built from. Each call starts its own part (its vertices weld
// only among themselves) and its own smoothing groups; every solid is closed and faces out.
#include "mesh_builder.h"

#include <functional>

constexpr float pi = 3.14159265358979f;

inline Point add(Point a, Point b)
{
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
inline Point sub(Point a, Point b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
inline Point mul(Point a, float s)
{
    return {a[0] * s, a[1] * s, a[2] * s};
}
inline float dot(Point a, Point b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Point cross(Point a, Point b);
Point unit(Point a);
// The point p turned by `angle` radians about the y axis (x towards -z).
Point turnAboutY(Point p, float angle);

// A round tube of `radius` around the closed curve path(s), s in [0, 1): one smoothing group.
void addTubeAlong(MeshBuilder& builder, const std::function<Point(float)>& path, float radius, int sides, int steps);

// A round tube along the open curve path(s), s in [0, 1], whose radius(s) is 0 at both ends,
// so the ends close to points (give it rounded ends). One smoothing group.
void addSweep(MeshBuilder& builder, const std::function<Point(float)>& path, const std::function<float(float)>& radius,
              int sides, int steps);

// A prism: the closed outline(k), `corners` points counter-clockwise seen from +y around
// (0, 0), swept from y0 to y1 in `layers` steps, at height y scaled by scale(y) and turned by
// twist(y) radians about y, then moved by `offset`. A scale of 0 at y1 ends it in a point.
// Each side strip between two corners is its own group (hard edges along the corners); each
// cap is one more.
void addPrism(MeshBuilder& builder, int corners, const std::function<std::array<float, 2>(int)>& outline, float y0,
              float y1, int layers, const std::function<float(float)>& scale, const std::function<float(float)>& twist,
              Point offset);

// An axis-aligned box from `low` to `high`, one group per face.
void addBox(MeshBuilder& builder, Point low, Point high);

// A straight beam of square section, `half` its half width, from a to b; one group per face.
void addBeam(MeshBuilder& builder, Point a, Point b, float half);

// A pointed crystal: a `sides`-sided prism of `radius` from `base` along `axis` (unit) for
// `length`, capped by a pyramid of `tip` at the far end and a shallow one at the base. The
// section is turned by `spin` radians about the axis. Every facet its own group.
void addCrystal(MeshBuilder& builder, Point base, Point axis, float radius, float length, float tip, int sides,
                float spin);

// A rounded solid |x/rx|^(2/e) + |y/ry|^(2/e) + |z/rz|^(2/e) = 1 (e = 1 an ellipsoid, smaller
// e boxier), turned by `yaw` about y and centred at `centre`. One smoothing group.
void addSuperellipsoid(MeshBuilder& builder, Point centre, Point radii, float e, float yaw);
