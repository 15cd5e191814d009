#pragma once
// The show's five pictures, each a pure function of its size (same size, same pixels).
#include "texture_image.h"

// "2d/ScratchNM_R.png", the tunnel wall, RGBA: RGB a tangent-space normal map of brushed
// metal (grain along s) crossed by fine scratches; A the roughness, 0 mirror-smooth to 1
// fully rough (about 0.3 on the brushed metal, up to 0.8 inside the scratches).
TextureImage makeScratchedMetal(int size);

// "2d/env0.png", the ambient light's environment, RGB, linear: a lit-sphere map indexed by
// the view-space normal n, at (s, t) = n.xy * 0.5 + 0.5 (row 0 faces down, the first column
// faces left). A warm key light from the upper left front, a cooler fill from the right, a
// rim light from behind, a darker floor below.
TextureImage makeStudioEnvironment(int size);

// "2d/speedlines.png", RGB: bright streaks on black running along t, tiling both ways.
TextureImage makeSpeedLines(int size);

// "2d/Dirt.jpg" (colour, RGB) and "2d/DirtNM.jpg" (tangent-space normal map, RGB) of dry,
// cracked earth with gravel, both tiling and made from one height field.
void makeDryEarth(int size, TextureImage& colour, TextureImage& normals);
