// The carousel's nine sculptures. The carousel scales a model by (1, 4, 1) relative to its
// width, so each one here is built at the proportions it is seen at, x and z in [-1, 1] and y
// in [-4, 4] ("shown units"), and squashed by a quarter along y into the model's cube at the
// end. Under the carousel's almost flat light an outline reads far better than shading, so
// each has its own silhouette and changes it as it turns: off-axis parts, openings, twists.
#include "shapes.h"

#include "mesh_primitives.h"
#include "model_transforms.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The carousel's stretch of y against x and z.
constexpr float shownStretch = 4.0f;

ModelSource squashed(const MeshBuilder& builder)
{
    ModelSource model = builder.result();
    scaleModel(model, {1.0f, 1.0f / shownStretch, 1.0f});
    return model;
}

// A closed stadium (two semicircles of `radius` joined by straight runs of 2 halfStraight)
// in the x-y plane, counter-clockwise from +z, by arc length: s in [0, 1) starts at the middle
// of the right-hand run.
Point stadium(float s, float halfStraight, float radius)
{
    s -= std::floor(s);
    const float straight = 2.0f * halfStraight, bend = pi * radius;
    float d = s * 2.0f * (straight + bend);
    // From the middle of the right run: up half a run, the top bend, down the left run, the
    // bottom bend, up the other half of the right run.
    if (d < halfStraight)
        return {radius, d, 0};
    d -= halfStraight;
    if (d < bend) {
        float a = d / radius;
        return {radius * std::cos(a), halfStraight + radius * std::sin(a), 0};
    }
    d -= bend;
    if (d < straight)
        return {-radius, halfStraight - d, 0};
    d -= straight;
    if (d < bend) {
        float a = pi + d / radius;
        return {radius * std::cos(a), -halfStraight + radius * std::sin(a), 0};
    }
    d -= bend;
    return {radius, -halfStraight + d, 0};
}

// A (5, 2) torus knot about the vertical axis, drawn out to the full height: a braid of two
// strands winding round each other, which crosses and opens as it turns.
ModelSource braidedKnot()
{
    MeshBuilder builder;
    addTubeAlong(
        builder,
        [](float s) {
            float t = 2.0f * pi * s;
            float r = 0.5f + 0.26f * std::cos(2.0f * t);
            return Point{r * std::cos(5.0f * t), 3.6f * std::sin(2.0f * t), r * std::sin(5.0f * t)};
        },
        0.2f, 16, 360);
    return squashed(builder);
}

// A flat toothed wheel of `teeth` at (x, y, z), thickness 2 halfThickness, turned by `phase`.
void addGear(MeshBuilder& builder, Point centre, float outer, int teeth, float halfThickness, float phase)
{
    const float inner = outer - 0.1f;
    addPrism(
        builder, teeth * 4,
        [&](int k) {
            // Per tooth: rising flank, top land, falling flank, root.
            int tooth = k / 4, step = k % 4;
            const float at[4] = {0.0f, 0.2f, 0.5f, 0.7f};
            float a = -(float(tooth) + at[step]) * 2.0f * pi / float(teeth);
            float r = (step == 1 || step == 2) ? outer : inner;
            return std::array<float, 2>{r * std::cos(a), r * std::sin(a)};
        },
        -halfThickness, halfThickness, 1, [](float) { return 1.0f; }, [phase](float) { return phase; }, centre);
}

// A round rod along y from y0 to y1 at (x, z), with domed ends.
void addRod(MeshBuilder& builder, float x, float z, float y0, float y1, float radius)
{
    const float dome = radius / (y1 - y0);
    addSweep(
        builder,
        [=](float s) {
            return Point{x, y0 + (y1 - y0) * s, z};
        },
        [=](float s) {
            float fromEnd = std::min(s, 1.0f - s) / dome;
            return fromEnd >= 1.0f ? radius : radius * std::sqrt(std::max(0.0f, fromEnd * (2.0f - fromEnd)));
        },
        12, 64);
}

// Two shafts off the turning axis carrying wheels that mesh in alternating sizes: a tower of
// thin plates whose two columns swing round each other as it turns.
ModelSource gearTrain()
{
    MeshBuilder builder;
    const float left = -0.42f, right = 0.46f;
    addRod(builder, left, 0.0f, -3.9f, 3.9f, 0.09f);
    addRod(builder, right, 0.0f, -3.3f, 3.4f, 0.08f);
    struct Pair {
        float y, big, small;
        bool bigOnLeft;
    };
    const Pair pairs[5] = {
        {-3.3f, 0.56f, 0.36f, true}, {-1.75f, 0.5f, 0.3f, false}, {-0.1f, 0.56f, 0.44f, true},
        {1.55f, 0.5f, 0.34f, false}, {3.15f, 0.5f, 0.42f, true},
    };
    for (const Pair& pair : pairs) {
        float leftRadius = pair.bigOnLeft ? pair.big : pair.small;
        float rightRadius = pair.bigOnLeft ? pair.small : pair.big;
        addGear(builder, {left, pair.y, 0.0f}, leftRadius, int(leftRadius * 30.0f), 0.16f, 0.0f);
        addGear(builder, {right, pair.y + 0.02f, 0.0f}, rightRadius, int(rightRadius * 30.0f), 0.16f, 0.1f);
    }
    // A small pinion high on the left shaft, alone: the top is not a mirror of the bottom.
    addGear(builder, {left, 2.35f, 0.0f}, 0.3f, 9, 0.12f, 0.0f);
    return squashed(builder);
}

// A five-pointed star swept up a swelling, tapering profile, twisted one and a half turns
// and bent into an S: a flame whose points run up its edges and which sways as it turns.
ModelSource twistedFlame()
{
    MeshBuilder builder;
    addPrism(
        builder, 10,
        [](int k) {
            float a = -2.0f * pi * float(k) / 10.0f;
            float r = k % 2 ? 0.3f : 0.66f;
            return std::array<float, 2>{r * std::cos(a), r * std::sin(a)};
        },
        -3.95f, 3.95f, 96,
        [](float y) {
            float h = (y + 3.95f) / 7.9f;
            return std::pow(std::max(0.0f, std::sin(pi * (0.12f + 0.88f * h))), 0.8f);
        },
        [](float y) { return 3.0f * pi * (y + 3.95f) / 7.9f; }, {0, 0, 0});
    ModelSource model = builder.result();
    for (size_t i = 0; i + 2 < model.positions.size(); i += 3) {
        float h = (model.positions[i + 1] + 3.95f) / 7.9f;
        model.positions[i] += 0.3f * std::sin(2.0f * pi * h);
        model.positions[i + 2] += 0.2f * std::sin(pi * h);
    }
    scaleModel(model, {1.0f, 1.0f / shownStretch, 1.0f});
    return model;
}

// A tapering lattice mast: four legs, rails and cross-bracing on every face, a peak, and
// cross-arms along x only, so it is a narrow tower one moment and a cross the next.
ModelSource latticePylon()
{
    MeshBuilder builder;
    const float levels[6] = {-3.9f, -2.3f, -0.9f, 0.4f, 1.5f, 2.5f};
    auto corner = [&](int level, int side) {
        // Legs from 0.88 out at the bottom to 0.26 at the top level; sides counter-clockwise.
        float h = (levels[level] - levels[0]) / (levels[5] - levels[0]);
        float r = 0.88f + (0.26f - 0.88f) * h;
        const float sx[4] = {1, -1, -1, 1}, sz[4] = {1, 1, -1, -1};
        return Point{r * sx[side], levels[level], r * sz[side]};
    };
    const Point peak{0.0f, 3.92f, 0.0f};
    for (int side = 0; side < 4; ++side) {
        addBeam(builder, corner(0, side), corner(5, side), 0.07f);
        addBeam(builder, corner(5, side), peak, 0.05f);
        for (int level = 0; level < 6; ++level)
            addBeam(builder, corner(level, side), corner(level, (side + 1) % 4), 0.04f);
        for (int level = 0; level < 5; ++level) {
            addBeam(builder, corner(level, side), corner(level + 1, (side + 1) % 4), 0.03f);
            addBeam(builder, corner(level, (side + 1) % 4), corner(level + 1, side), 0.03f);
        }
    }
    // Cross-arms, the lower one longer, each with a weight hanging from its ends.
    const float armHeights[2] = {1.5f, 2.5f}, armReach[2] = {0.93f, 0.7f};
    for (int arm = 0; arm < 2; ++arm) {
        float y = armHeights[arm], reach = armReach[arm];
        addBox(builder, {-reach, y - 0.06f, -0.06f}, {reach, y + 0.06f, 0.06f});
        for (float end : {-1.0f, 1.0f})
            addBox(builder, {end * reach - 0.05f, y - 0.55f, -0.05f}, {end * reach + 0.05f, y - 0.06f, 0.05f});
    }
    return squashed(builder);
}

// A coil spring wider at the ends than in the middle, its wire ending in rounded tips: the
// coils seem to climb as it turns.
ModelSource hourglassSpring()
{
    MeshBuilder builder;
    const float turns = 6.0f, wire = 0.17f, height = 3.6f;
    auto coil = [&](float s) {
        float waist = 2.0f * s - 1.0f;
        float r = 0.4f + 0.38f * waist * waist;
        float a = 2.0f * pi * turns * s;
        return Point{r * std::cos(a), -height + 2.0f * height * s, r * std::sin(a)};
    };
    // The tips take the wire's radius in length: about 0.8 % of the wire's length each.
    const float tip = 0.008f;
    addSweep(
        builder, coil,
        [&](float s) {
            float fromEnd = std::min(s, 1.0f - s) / tip;
            return fromEnd >= 1.0f ? wire : wire * std::sqrt(std::max(0.0f, fromEnd * (2.0f - fromEnd)));
        },
        12, 1200);
    return squashed(builder);
}

// Five oval links hanging one through the next, each turned a little more than a quarter
// turn from the one below: open rings and edges alternate and drift as it turns.
ModelSource chain()
{
    MeshBuilder builder;
    const int links = 5;
    const float wire = 0.15f, bendRadius = 0.5f, halfStraight = 0.38f;
    // A taut chain: each link's wire rests inside the bend of the next, with a little play.
    const float pitch = 2.0f * halfStraight + 2.0f * bendRadius - 2.0f * wire - 0.04f;
    const float bottom = -(float(links - 1) * pitch) / 2.0f;
    for (int k = 0; k < links; ++k) {
        float turn = float(k) * (0.5f * pi + 0.3f), y = bottom + float(k) * pitch;
        addTubeAlong(
            builder,
            [&](float s) {
                return add(turnAboutY(stadium(s, halfStraight, bendRadius), turn), {0.0f, y, 0.0f});
            },
            wire, 14, 96);
    }
    return squashed(builder);
}

// Pointed crystals of different lengths leaning out of a rough stone: a jagged crown that
// changes its outline with every facet that turns past.
ModelSource crystalCluster()
{
    MeshBuilder builder;
    addSuperellipsoid(builder, {0.0f, -3.55f, 0.0f}, {0.75f, 0.38f, 0.62f}, 0.6f, 0.4f);
    struct Crystal {
        Point base, lean;
        float radius, length, tip, spin;
    };
    const Crystal crystals[6] = {
        {{0.05f, -3.6f, 0.0f}, {0.03f, 1.0f, -0.01f}, 0.3f, 5.8f, 1.5f, 0.2f},
        {{-0.35f, -3.5f, 0.15f}, {-0.09f, 1.0f, 0.03f}, 0.2f, 3.6f, 0.8f, 0.7f},
        {{0.35f, -3.5f, -0.2f}, {0.07f, 1.0f, -0.03f}, 0.22f, 4.4f, 1.0f, 1.1f},
        {{0.3f, -3.4f, 0.35f}, {0.14f, 1.0f, 0.1f}, 0.15f, 1.8f, 0.5f, 0.4f},
        {{-0.3f, -3.4f, -0.35f}, {-0.12f, 1.0f, -0.1f}, 0.16f, 2.4f, 0.6f, 0.9f},
        {{-0.1f, -3.3f, 0.4f}, {-0.2f, 1.0f, 0.25f}, 0.13f, 1.2f, 0.4f, 0.3f},
    };
    for (const Crystal& c : crystals)
        addCrystal(builder, c.base, unit(c.lean), c.radius, c.length, c.tip, 6, c.spin);
    return squashed(builder);
}

// Stones of different shapes balanced on one another, each turned and pushed off centre: a
// lumpy stack whose overhangs come and go as it turns.
ModelSource cairn()
{
    MeshBuilder builder;
    struct Stone {
        Point radii;
        float roundness, yaw, dx, dz;
    };
    const Stone stones[9] = {
        {{0.92f, 0.55f, 0.72f}, 0.5f, 0.3f, 0.0f, 0.0f},     {{0.68f, 0.48f, 0.6f}, 0.8f, 1.1f, 0.18f, -0.08f},
        {{0.8f, 0.42f, 0.5f}, 0.4f, 2.0f, -0.12f, 0.1f},     {{0.55f, 0.6f, 0.6f}, 0.9f, 0.6f, 0.1f, 0.15f},
        {{0.72f, 0.38f, 0.45f}, 0.45f, 2.7f, -0.15f, -0.1f}, {{0.48f, 0.5f, 0.5f}, 1.0f, 0.0f, 0.3f, 0.0f},
        {{0.55f, 0.34f, 0.38f}, 0.5f, 1.6f, -0.3f, 0.12f},   {{0.34f, 0.42f, 0.36f}, 0.8f, 0.9f, 0.2f, -0.05f},
        {{0.3f, 0.4f, 0.32f}, 0.7f, 0.4f, -0.05f, 0.05f},
    };
    // Each stone sinks a little into the one below, as if settled there.
    float top = -3.95f + 0.08f;
    for (const Stone& stone : stones) {
        float y = top + stone.radii[1] - 0.08f;
        addSuperellipsoid(builder, {stone.dx, y, stone.dz}, stone.radii, stone.roundness, stone.yaw);
        top = y + stone.radii[1];
    }
    return squashed(builder);
}

// A band of rectangular section round a tall stadium, turned half over along the loop so its
// two broad faces are one: face on it is a tall open loop, edge on a twisting ribbon.
ModelSource moebiusLoop()
{
    MeshBuilder builder;
    const int steps = 240;
    const float halfStraight = 2.95f, radius = 0.58f, halfWidth = 0.37f, halfThickness = 0.06f;
    const float corner[4][2] = {{halfThickness, -halfWidth},
                                {halfThickness, halfWidth},
                                {-halfThickness, halfWidth},
                                {-halfThickness, -halfWidth}};
    auto point = [&](int i, int j) {
        float s = float(j) / float(steps);
        Point centre = stadium(s, halfStraight, radius);
        Point tangent = unit(sub(stadium(s + 0.5f / float(steps), halfStraight, radius),
                                 stadium(s - 0.5f / float(steps), halfStraight, radius)));
        Point outward = cross(tangent, {0.0f, 0.0f, 1.0f});
        float turn = pi * s, c = std::cos(turn), t = std::sin(turn);
        float across = corner[i][0] * c - corner[i][1] * t;
        float along = corner[i][0] * t + corner[i][1] * c;
        return add(centre, add(mul(outward, across), Point{0.0f, 0.0f, along}));
    };
    std::vector<uint16_t> index(size_t(4 * steps));
    for (int j = 0; j < steps; ++j)
        for (int i = 0; i < 4; ++i)
            index[size_t(j) * 4 + size_t(i)] = builder.vertex(point(i, j));
    // After one loop the section is turned by 180 degrees: corner i meets corner i + 2. Each
    // face is a group, so the rims stay sharp.
    for (int face = 0; face < 4; ++face) {
        builder.beginGroup();
        for (int j = 0; j < steps; ++j) {
            bool last = j + 1 == steps;
            int nj = last ? 0 : j + 1, shift = last ? 2 : 0;
            int i0 = face, i1 = (face + 1) % 4;
            builder.quad(index[size_t(j) * 4 + size_t(i0)], index[size_t(nj) * 4 + size_t((i0 + shift) % 4)],
                         index[size_t(nj) * 4 + size_t((i1 + shift) % 4)], index[size_t(j) * 4 + size_t(i1)]);
        }
    }
    return squashed(builder);
}

}  // namespace

ModelSource makeSculpture(int k)
{
    switch (k) {
    case 0: return braidedKnot();
    case 1: return gearTrain();
    case 2: return twistedFlame();
    case 3: return latticePylon();
    case 4: return hourglassSpring();
    case 5: return chain();
    case 6: return crystalCluster();
    case 7: return cairn();
    default: return moebiusLoop();
    }
}
