// Interleaved gradient noise: a value in [0, 1) per pixel whose neighbours differ as much as
// possible, so a few jittered samples per pixel average out over the eye's blur instead of
// forming a pattern. gradientNoiseAt takes any point (the ambient occlusion passes
// gl_FragCoord, a pixel's centre); interleavedGradientNoise the pixel's corner, whatever point
// of the pixel it is given.
float gradientNoiseAt(vec2 p)
{
    return fract(52.9829189 * fract(dot(p, vec2(0.06711056, 0.00583715))));
}

float interleavedGradientNoise(vec2 p)
{
    return gradientNoiseAt(floor(p));
}
