#version 330 core
// Glow, second half: vertical Gaussian blur of glowA ("S", unit 7, quarter-size linear rgb)
// into glowB, the same width as the horizontal half.
const int kAxis = 1;
#include "common/glow_blur.glsl"
