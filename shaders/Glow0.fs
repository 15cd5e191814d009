#version 330 core
// Glow, first half: horizontal Gaussian blur of the bright pass (glowB, "S", unit 8,
// quarter-size linear rgb) into glowA. The width follows the image height (sigma 2.5 % of it),
// so the glow looks the same at every resolution.
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
    int hiX = textureSize(S).x - 1;
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    for (int i = -reach; i <= reach; ++i) {
        float x = float(i);
        float w = exp(-0.5 * x * x / (sigma * sigma));
        sum += texelFetch(S, ivec2(clamp(p.x + i, 0, hiX), p.y)).rgb * w;
        weightSum += w;
    }
    O0 = vec4(sum / weightSum, 1.0);
}
