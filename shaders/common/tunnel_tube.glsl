// The tunnel's tube, built in view space from the unit tube mesh: both of its vertex stages
// (TunnelNM.vs for the geometry pass, Tunnel.vs for the forward pass and the firework layers)
// place it here, because the forward pass meets the geometry pass's surface with depth test
// EQUAL and only the same expression gives the same depth. Radius "rad", stretched to "len"
// units down -z, its axis bent sideways with depth by "a" (quadratic) and "q" (cubic).
uniform vec2 q;
uniform vec2 a;
uniform float len;
uniform float rad;

const float kBend = 0.5;           // axis offset per unit of len at the far end, per unit of a, q
const float kTilesAround = 3.0;    // scratch map repeats around the ring
const double kScrollRate = 0.75lf; // scratch map tiles per second along the tube

vec3 tunnelPosition(vec4 v)
{
    float depth = -v.z;
    vec2 axis = (a * (depth * depth) + q * (depth * depth * depth)) * (len * kBend);
    return vec3(axis + v.xy * rad, -depth * len);
}
