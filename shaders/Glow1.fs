#version 330 core
// Glow, second half: vertical Gaussian blur of glowA ("S", unit 7, quarter-size linear rgb)
// into glowB, the same width as the horizontal half (sigma 2.5 % of the image height).
uniform sampler2DRect S;
out vec4 O0;

const float kSigmaFraction = 0.025;
const int kMaxReach = 24;

void main()
{
    vec2 p = gl_FragCoord.xy;
    float sigma = max(kSigmaFraction * float(textureSize(S).y), 0.5);
    int reach = int(min(ceil(sigma * 3.0), float(kMaxReach)));
    float hiY = float(textureSize(S).y) - 0.5;
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    for (int i = -reach; i <= reach; ++i) {
        float y = float(i);
        float w = exp(-0.5 * y * y / (sigma * sigma));
        sum += texture(S, vec2(p.x, clamp(p.y + y, 0.5, hiY))).rgb * w;
        weightSum += w;
    }
    O0 = vec4(sum / weightSum, 1.0);
}
