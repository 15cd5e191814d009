#pragma once
// The show's models other than the credits text. Sizes in model units.
#include "mesh_builder.h"

// Smooth UV sphere of radius 1 about the origin: one smoothing group.
ModelSource makeSphere();

// Cube [-1, 1]^3 with texture coordinates, the whole texture on each face; one group per
// face so the edges stay sharp.
ModelSource makeTexturedCube();

// The nine carousel sculptures, k = 0 to 8: braided knot, gear train, twisted flame, lattice
// pylon, hourglass spring, chain, crystal cluster, cairn of stones, Moebius loop. Each fits the
// cube [-1, 1]^3; the carousel shows it stretched 1:4:1 and spinning once about y, so each is
// designed at those proportions and squashed into the cube (sculptures.cpp).
ModelSource makeSculpture(int k);
constexpr int sculptureCount = 9;

// Clusters of pointed crystals breaking through the credits' plain, whose ground lies at y =
// `ground`, near the point the credits' camera looks at; x and z already where the show draws
// them. Each crystal is its own closed solid, rooted a little below the ground.
ModelSource makeCrystalOutcrops(float ground);
