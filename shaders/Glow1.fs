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
    for (int i = -reach; i <= reach; ++i) {
        float y = float(i);
        float w = exp(-0.5 * y * y / (sigma * sigma));
        sum += texelFetch(S, ivec2(p.x, clamp(p.y + i, 0, hiY))).rgb * w;
        weightSum += w;
    }
    O0 = vec4(sum / weightSum, 1.0);
}
