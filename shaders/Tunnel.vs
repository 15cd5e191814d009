#version 330 core
#extension GL_ARB_gpu_shader_fp64 : require
// Tunnel, forward pass and firework layers: the same view-space tube as TunnelNM.vs (A0 x, y on
// the unit ring, z from 0.001 to about -1, w around the ring; radius "rad", length "len", axis
// bent by "a" and "q", projection "mp"). Hands the fragment stage the wall texture coordinates,
// scrolling with the double-precision "time" (seconds; the firework layers pass -2 x time).
// The tube's place is common/tunnel_tube.glsl's, as TunnelNM.vs has it: this pass meets the
// geometry pass's surface with depth test EQUAL.
in vec4 A0;
uniform double time;
uniform mat4 mp;
invariant gl_Position;
out vec2 uv;

#include "common/tunnel_tube.glsl"
#include "common/streak_tiles.glsl"
const double kStreakTiles = double(kStreakTileCount);

void main()
{
    gl_Position = mp * vec4(tunnelPosition(A0), 1.0);

    float depth = -A0.z;
    float tileLength = 6.2831853 * rad / kTilesAround;
    // The firework layers' streaks repeat every kStreakTiles tiles along the tube, so the
    // scroll wraps after as many: wrapping after one would jump the streaks by a part of their
    // period, a visible skip once in every 1 / kScrollRate seconds.
    float scroll = float(fract(time * (kScrollRate / kStreakTiles)) * kStreakTiles);
    uv = vec2(A0.w * kTilesAround, depth * len / tileLength - scroll);
}
