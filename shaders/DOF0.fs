#version 330 core
// Depth of field, first of two passes, at half size: a hexagonal aperture made of three rhombi,
// each the sweep of the blur along two of the three directions "step0", "step1", "step2"
// (unit vectors 120 degrees apart). This pass blurs halfColor ("S", unit 3; rgb linear colour,
// alpha the signed circle of confusion in half-size pixels) along "step0" into O0 and writes
// the sum of that and the blur along "step1" into O1; the second pass completes the hexagon.
// Each pixel gathers only within its own circle of confusion, and a nearer sample counts only
// where its own circle reaches this pixel, so a sharp foreground neither smears nor bleeds
// into the blurred background behind it. Samples sit half a step off the pixel, so the three
// rhombi do not count their shared edges twice.
uniform sampler2DRect S;
uniform vec2 step0;
uniform vec2 step1;
out vec4 O0;
out vec4 O1;

// Largest blur radius, as a fraction of the half-size image's diagonal (about 55 full-size
// pixels at 1920x1080); beyond it the samples would be too sparse.
const float kMaxRadiusFraction = 0.025;
const int kMaxSamples = 16;

float blurRadius(float coc)
{
    float limit = kMaxRadiusFraction * length(vec2(textureSize(S)));
    return min(abs(coc), limit);
}

// Mean of the samples along dir over [0, radius], each weighted by whether it can be seen
// through this pixel's circle of confusion; the centre colour where nothing counts.
vec3 gatherLine(vec2 p, vec2 dir, float radius, float coc, vec3 centre)
{
    if (radius < 0.5)
        return centre;
    vec2 lo = vec2(0.5);
    vec2 hi = vec2(textureSize(S)) - 0.5;
    int count = int(min(ceil(radius), float(kMaxSamples)));
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    for (int i = 0; i < count; ++i) {
        float d = (float(i) + 0.5) / float(count) * radius;
        vec4 s = texture(S, clamp(p + dir * d, lo, hi));
        float w = s.a < coc ? clamp(abs(s.a) - d + 1.0, 0.0, 1.0) : 1.0;
        sum += s.rgb * w;
        weightSum += w;
    }
    return weightSum > 0.0 ? sum / weightSum : centre;
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    vec4 centre = texture(S, p);
    float radius = blurRadius(centre.a);
    vec3 along0 = gatherLine(p, step0, radius, centre.a, centre.rgb);
    vec3 along1 = gatherLine(p, step1, radius, centre.a, centre.rgb);
    O0 = vec4(along0, centre.a);
    O1 = vec4(along0 + along1, centre.a);
}
