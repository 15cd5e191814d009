#pragma once
// The show's models other than the credits text. Sizes in model units; every sculpture fits
// the cube [-1, 1]^3 (the carousel stretches it 1:4:1 and spins it about y).
#include "mesh_builder.h"

// Smooth UV sphere of radius 1 about the origin: one smoothing group.
ModelSource makeSphere();

// Cube [-1, 1]^3 with texture coordinates, the whole texture on each face; one group per
// face so the edges stay sharp.
ModelSource makeTexturedCube();

// The nine carousel sculptures, k = 0 to 8: torus knot, gear stack, twisted star prism,
// lattice tower, helix spring, stacked rings, faceted crystal, superellipsoid, Moebius band.
ModelSource makeSculpture(int k);
constexpr int sculptureCount = 9;
