#version 330 core
// Glow, first half: horizontal Gaussian blur of the bright pass (glowB, "S", unit 8,
// quarter-size linear rgb) into glowA.
const int kAxis = 0;
#include "common/glow_blur.glsl"
