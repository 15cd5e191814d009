// The glow's Gaussian blur along one axis of the image; the glow is separable, so its two
// halves (Glow0.fs, Glow1.fs) are this one body, each with the axis it blurs along given as
// kAxis (0 along x, 1 along y) before it includes this. The width follows the image height
// (sigma 2.5 % of it), so the glow looks the same at every resolution and in both halves.
uniform sampler2DRect S;
out vec4 O0;

const float kSigmaFraction = 0.025;
const int kMaxReach = 24;

void main()
{
    // Every tap lies on a texel centre, so a plain fetch reads what a filtered read would, at a
    // quarter of the cost on a software rasterizer.
    ivec2 p = ivec2(gl_FragCoord.xy);
    float sigma = max(kSigmaFraction * float(textureSize(S).y), 0.5);
    int reach = int(min(ceil(sigma * 3.0), float(kMaxReach)));
    int hi = textureSize(S)[kAxis] - 1;
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    // The weights by recurrence, each from the last: exp(-x^2 / 2 sigma^2) steps by a factor that
    // itself shrinks by exp(-1 / sigma^2) a tap, so three exponentials serve every tap.
    float w = exp(-0.5 * float(reach * reach) / (sigma * sigma));
    float ratio = exp((float(2 * reach) - 1.0) / (2.0 * sigma * sigma));
    float ratioStep = exp(-1.0 / (sigma * sigma));
    for (int i = -reach; i <= reach; ++i) {
        ivec2 tap = p;
        tap[kAxis] = clamp(p[kAxis] + i, 0, hi);
        sum += texelFetch(S, tap).rgb * w;
        weightSum += w;
        w *= ratio;
        ratio *= ratioStep;
    }
    O0 = vec4(sum / weightSum, 1.0);
}
