#version 330 core
// Glow, second half: vertical Gaussian blur of glowA ("S", unit 7, quarter-size linear rgb)
// into glowB, the same width as the horizontal half (sigma 2.5 % of the image height).
uniform sampler2DRect S;
out vec4 O0;

const float kSigmaFraction = 0.025;
const int kMaxReach = 24;

void main()
{
    // Every tap lies on a texel centre: a plain fetch, as in the horizontal half.
    ivec2 p = ivec2(gl_FragCoord.xy);
    float sigma = max(kSigmaFraction * float(textureSize(S).y), 0.5);
    int reach = int(min(ceil(sigma * 3.0), float(kMaxReach)));
    int hiY = textureSize(S).y - 1;
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    // The weights by recurrence, each from the last: exp(-x^2 / 2 sigma^2) steps by a factor that
    // itself shrinks by exp(-1 / sigma^2) a tap, so three exponentials serve every tap.
    float w = exp(-0.5 * float(reach * reach) / (sigma * sigma));
    float ratio = exp((float(2 * reach) - 1.0) / (2.0 * sigma * sigma));
    float ratioStep = exp(-1.0 / (sigma * sigma));
    for (int i = -reach; i <= reach; ++i) {
        sum += texelFetch(S, ivec2(p.x, clamp(p.y + i, 0, hiY))).rgb * w;
        weightSum += w;
        w *= ratio;
        ratio *= ratioStep;
    }
    O0 = vec4(sum / weightSum, 1.0);
}
