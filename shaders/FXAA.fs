#version 330 core
// Final anti-aliasing into the window (sRGB-encoded by the framebuffer, so this writes linear
// values): the fast approximate anti-aliasing filter, version 3.11, quality path with the
// five-step edge search (steps of 1, 2, 2, 4 and 12 pixels). Reads outputImage ("S", unit 2,
// full-size rectangle texture, decoded to linear on fetch; alpha the perceptual luma that the
// composite left there); "s" is window size / render size per axis, so a window smaller or
// larger than the render size is scaled (edges are then found at the nearest texel).
//
// Written for a software rasterizer as much as for a GPU. A rasterizer that shades a block
// of pixels in lock-step runs both sides of every branch, so every read here is an unfiltered
// texel fetch (filtered reads of an sRGB texture are its slowest path): the neighbourhood
// and the edge search read whole texels around the pixel's own, and the final colour is
// filtered by hand.
uniform sampler2DRect S;
uniform vec2 s;
out vec4 O0;

const float kSubpix = 0.75;            // amount of sub-pixel aliasing removal
const float kEdgeThreshold = 0.166;    // minimum local contrast, relative to the brightest
const float kEdgeThresholdMin = 0.0625;// minimum local contrast in dark areas
const int kSearchSteps = 5;
const int kStepLength[kSearchSteps] = int[](1, 2, 2, 4, 12);

ivec2 lastTexel;

vec4 texel(ivec2 p)
{
    return texelFetch(S, clamp(p, ivec2(0), lastTexel));
}

// Bilinear filtering at texel-space position p (texel centres at .5), clamped at the edges.
vec4 filtered(vec2 p)
{
    vec2 f = p - 0.5;
    ivec2 i = ivec2(floor(f));
    vec2 t = f - floor(f);
    vec4 bottom = mix(texel(i), texel(i + ivec2(1, 0)), t.x);
    vec4 top = mix(texel(i + ivec2(0, 1)), texel(i + ivec2(1, 1)), t.x);
    return mix(bottom, top, t.y);
}

// The mean luma of texel p and its neighbour across the edge.
float edgeLuma(ivec2 p, ivec2 across)
{
    return 0.5 * (texel(p).a + texel(p + across).a);
}

// On an edge: how far (in texels) to move the read across it, towards the side it blends with.
vec2 shiftAcrossEdge(ivec2 home, float lumaM, float lumaS, float lumaE, float lumaN, float lumaW, float range)
{
    float lumaNW = texel(home + ivec2(-1, 1)).a;
    float lumaSE = texel(home + ivec2(1, -1)).a;
    float lumaNE = texel(home + ivec2(1, 1)).a;
    float lumaSW = texel(home + ivec2(-1, -1)).a;

    // Sub-pixel aliasing: how far the centre stands out from its 3x3 neighbourhood.
    float lumaNS = lumaN + lumaS;
    float lumaWE = lumaW + lumaE;
    float neighbourhood = (2.0 * (lumaNS + lumaWE) + lumaNW + lumaSE + lumaNE + lumaSW) / 12.0;
    float subpixC = clamp(abs(neighbourhood - lumaM) / range, 0.0, 1.0);
    float subpixD = (-2.0 * subpixC + 3.0) * subpixC * subpixC;
    float subpixH = subpixD * subpixD * kSubpix;

    // Edge orientation: a horizontal edge has its contrast across rows.
    float edgeHorizontal = abs(lumaNW + lumaSW - 2.0 * lumaW)
                         + 2.0 * abs(lumaNS - 2.0 * lumaM)
                         + abs(lumaNE + lumaSE - 2.0 * lumaE);
    float edgeVertical = abs(lumaNW + lumaNE - 2.0 * lumaN)
                       + 2.0 * abs(lumaWE - 2.0 * lumaM)
                       + abs(lumaSW + lumaSE - 2.0 * lumaS);
    bool horizontalSpan = edgeHorizontal >= edgeVertical;

    float lumaPos = horizontalSpan ? lumaN : lumaE;
    float lumaNeg = horizontalSpan ? lumaS : lumaW;
    float gradientPos = abs(lumaPos - lumaM);
    float gradientNeg = abs(lumaNeg - lumaM);
    bool towardsPos = gradientPos >= gradientNeg;
    float gradient = max(gradientPos, gradientNeg);
    float lumaPair = (towardsPos ? lumaPos : lumaNeg) + lumaM;

    // Walk both ways along the edge, reading the mean luma of the two rows (or columns) it runs
    // between: the pixel's own and that of its stronger neighbour.
    ivec2 along = horizontalSpan ? ivec2(1, 0) : ivec2(0, 1);
    ivec2 across = (horizontalSpan ? ivec2(0, 1) : ivec2(1, 0)) * (towardsPos ? 1 : -1);

    float gradientScaled = gradient * 0.25;
    float lumaMM = lumaM - lumaPair * 0.5;
    bool centreBelow = lumaMM < 0.0;

    int reachN = kStepLength[0];
    int reachP = kStepLength[0];
    float lumaEndN = edgeLuma(home - along * reachN, across) - lumaPair * 0.5;
    float lumaEndP = edgeLuma(home + along * reachP, across) - lumaPair * 0.5;
    bool doneN = abs(lumaEndN) >= gradientScaled;
    bool doneP = abs(lumaEndP) >= gradientScaled;
    for (int i = 1; i < kSearchSteps && !(doneN && doneP); ++i) {
        if (!doneN) {
            reachN += kStepLength[i];
            lumaEndN = edgeLuma(home - along * reachN, across) - lumaPair * 0.5;
            doneN = abs(lumaEndN) >= gradientScaled;
        }
        if (!doneP) {
            reachP += kStepLength[i];
            lumaEndP = edgeLuma(home + along * reachP, across) - lumaPair * 0.5;
            doneP = abs(lumaEndP) >= gradientScaled;
        }
    }

    bool nearerN = reachN < reachP;
    float nearest = float(min(reachN, reachP));
    float spanLength = float(reachN + reachP);
    bool goodSpan = ((nearerN ? lumaEndN : lumaEndP) < 0.0) != centreBelow;
    float pixelOffset = goodSpan ? 0.5 - nearest / spanLength : 0.0;
    float offset = max(pixelOffset, subpixH);

    return vec2(across) * offset;
}

void main()
{
    lastTexel = textureSize(S) - 1;
    vec2 pos = gl_FragCoord.xy / s;
    // The texel under the pixel; with a window of the render size, exactly the pixel's own.
    ivec2 home = ivec2(floor(pos));
    float lumaM = texel(home).a;
    float lumaS = texel(home + ivec2(0, -1)).a;
    float lumaE = texel(home + ivec2(1, 0)).a;
    float lumaN = texel(home + ivec2(0, 1)).a;
    float lumaW = texel(home + ivec2(-1, 0)).a;

    float rangeMax = max(max(max(lumaN, lumaS), max(lumaE, lumaW)), lumaM);
    float rangeMin = min(min(min(lumaN, lumaS), min(lumaE, lumaW)), lumaM);
    float range = rangeMax - rangeMin;
    // Most pixels lie where the local contrast is low, and are read where they are.
    // At the render size such a pixel sits on its texel's centre, where filtering would return
    // the texel already read; only edges, and scaled windows, pay for the four reads.
    vec2 shift = vec2(0.0);
    bool onEdge = range >= max(kEdgeThresholdMin, rangeMax * kEdgeThreshold);
    if (onEdge)
        shift = shiftAcrossEdge(home, lumaM, lumaS, lumaE, lumaN, lumaW, range);
    vec2 read = pos + shift;
    if (read == vec2(home) + 0.5)
        O0 = vec4(texel(home).rgb, 1.0);
    else
        O0 = vec4(filtered(read).rgb, 1.0);
}
