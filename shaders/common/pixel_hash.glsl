// An integer hash of a position (a pixel, a lattice cell) and a seed: 32 well-mixed bits, so
// neighbouring positions share no pattern. The stages' noise (the normal buffer's dither, the
// composite's dither, the ground's cloud lattice) is drawn from it, each with a seed of its own
// so that no two of them line up.
uint pixelHash(uvec2 p, uint seed)
{
    uint h = p.x * 1973u + p.y * 9277u + seed;
    h = (h ^ (h >> 16u)) * 0x7feb352du;
    h = (h ^ (h >> 15u)) * 0x846ca68bu;
    return h ^ (h >> 16u);
}
