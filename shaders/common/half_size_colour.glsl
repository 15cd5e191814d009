// The half-size colour of a 2x2 block of sceneColor: Half.fs writes it for the depth of field,
// and the composite (Combine.fs) makes it again from the texels it reads, to tell how much the
// depth of field changed the block. The two must agree to the last bit, or the composite would
// see a change everywhere.

// The brightest light any pass carries: below the half-float maximum (65504), and every later
// pass averages rather than sums, so nothing downstream can overflow to infinity.
const float kMaxLight = 60000.0;

// A texel with NaN made black and its light (and its circle, in alpha) kept within range.
vec4 finite(vec4 v)
{
    v = mix(v, vec4(0.0), isnan(v));
    return clamp(v, vec4(0.0, 0.0, 0.0, -kMaxLight), vec4(kMaxLight));
}

// Full weight within one pixel of circle, falling to a trace for a different depth layer.
float layerWeight(float coc, float chosen)
{
    return max(1.0 - 0.5 * abs(coc - chosen), 0.02);
}

// From the block's four texels as read: the colour in rgb, the mean of the four weighted by
// how close each texel's circle is to the nearest one's, so a block that straddles a sharp edge
// takes the colour of the side it is labelled with; the block's circle (full-size pixels, the
// nearest of the four) in alpha.
vec4 halfSizeColour(vec4 t00, vec4 t10, vec4 t01, vec4 t11)
{
    t00 = finite(t00);
    t10 = finite(t10);
    t01 = finite(t01);
    t11 = finite(t11);
    float nearestCoc = min(min(t00.a, t10.a), min(t01.a, t11.a));
    vec4 w = vec4(layerWeight(t00.a, nearestCoc), layerWeight(t10.a, nearestCoc),
                  layerWeight(t01.a, nearestCoc), layerWeight(t11.a, nearestCoc));
    vec3 colour = (t00.rgb * w.x + t10.rgb * w.y + t01.rgb * w.z + t11.rgb * w.w) / (w.x + w.y + w.z + w.w);
    return vec4(colour, nearestCoc);
}
