#version 330 core
// Final anti-aliasing into the window (sRGB-encoded by the framebuffer, so this writes linear
// values): the fast approximate anti-aliasing filter, version 3.11, quality path with the
// five-step edge search (steps of 1, 2, 2, 4 and 12 pixels). Reads outputImage ("S", unit 2,
// full-size rectangle texture, decoded to linear on fetch; alpha the perceptual luma that the
// composite left there); "s" is window size / render size per axis, so a window smaller or
// larger than the render size is scaled (edges are then found at the nearest texel).
//
// Written for a software rasterizer as much as for a GPU. A rasterizer that shades a block
// of pixels in lock-step runs both sides of every branch and every loop at least once, and
// stops a loop only when no pixel of the block needs another turn. So every read is an
// unfiltered texel fetch (filtered reads of an sRGB texture are its slowest path), and all
// the reads after the neighbourhood go through one loop of four reads a turn, whose turns
// are the stages of the edge work: the corners, each step of the edge search, and the final
// filtering where the window is scaled. A block without edges at the render size takes one
// turn of it; at the render size the final colour is a blend of the pixel's texel and one
// of its four neighbours, read already.
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

const int kCorners = 0;
const int kSearch = 1;
const int kFilter = 2;
const int kDone = 3;

void main()
{
    lastTexel = textureSize(S) - 1;
    vec2 pos = gl_FragCoord.xy / s;
    // The texel under the pixel; with a window of the render size, exactly the pixel's own.
    ivec2 home = ivec2(floor(pos));
    vec4 colourM = texel(home);
    vec4 colourS = texel(home + ivec2(0, -1));
    vec4 colourE = texel(home + ivec2(1, 0));
    vec4 colourN = texel(home + ivec2(0, 1));
    vec4 colourW = texel(home + ivec2(-1, 0));
    float lumaM = colourM.a;
    float lumaS = colourS.a;
    float lumaE = colourE.a;
    float lumaN = colourN.a;
    float lumaW = colourW.a;

    float rangeMax = max(max(max(lumaN, lumaS), max(lumaE, lumaW)), lumaM);
    float rangeMin = min(min(min(lumaN, lumaS), min(lumaE, lumaW)), lumaM);
    float range = rangeMax - rangeMin;
    // At the render size texel centres lie under pixel centres, and the final read, moved
    // across an edge only, blends the pixel's texel with the neighbour on that side.
    bool centred = s == vec2(1.0);
    // Most pixels lie where the local contrast is low, and are read where they are.
    bool onEdge = range >= max(kEdgeThresholdMin, rangeMax * kEdgeThreshold);
    int stage = onEdge ? kCorners : (centred ? kDone : kFilter);

    vec2 shift = vec2(0.0);
    vec4 colour = colourM;
    float subpixH = 0.0;
    ivec2 along = ivec2(1, 0);
    ivec2 across = ivec2(0, 1);
    float lumaPair = 0.0;
    float gradientScaled = 0.0;
    bool centreBelow = false;
    int reachN = kStepLength[0];
    int reachP = kStepLength[0];
    float lumaEndN = 0.0;
    float lumaEndP = 0.0;
    bool doneN = true;
    bool doneP = true;
    int searchStep = 1;
    for (int turn = 0; turn < kSearchSteps + 1 && stage != kDone; ++turn) {
        // The four texels this stage reads.
        vec2 f = pos + shift - 0.5;
        ivec2 i = ivec2(floor(f));
        int nextN = reachN + (doneN ? 0 : kStepLength[min(searchStep, kSearchSteps - 1)]);
        int nextP = reachP + (doneP ? 0 : kStepLength[min(searchStep, kSearchSteps - 1)]);
        ivec2 at0 = stage == kCorners ? home + ivec2(-1, 1) : (stage == kSearch ? home - along * nextN : i);
        ivec2 at1 = stage == kCorners ? home + ivec2(1, -1) : (stage == kSearch ? at0 + across : i + ivec2(1, 0));
        ivec2 at2 = stage == kCorners ? home + ivec2(1, 1) : (stage == kSearch ? home + along * nextP : i + ivec2(0, 1));
        ivec2 at3 = stage == kCorners ? home + ivec2(-1, -1) : (stage == kSearch ? at2 + across : i + ivec2(1, 1));
        vec4 t0 = texel(at0);
        vec4 t1 = texel(at1);
        vec4 t2 = texel(at2);
        vec4 t3 = texel(at3);

        bool searchEnds = false;
        if (stage == kCorners) {
            float lumaNW = t0.a;
            float lumaSE = t1.a;
            float lumaNE = t2.a;
            float lumaSW = t3.a;

            // Sub-pixel aliasing: how far the centre stands out from its 3x3 neighbourhood.
            float lumaNS = lumaN + lumaS;
            float lumaWE = lumaW + lumaE;
            float neighbourhood = (2.0 * (lumaNS + lumaWE) + lumaNW + lumaSE + lumaNE + lumaSW) / 12.0;
            float subpixC = clamp(abs(neighbourhood - lumaM) / range, 0.0, 1.0);
            float subpixD = (-2.0 * subpixC + 3.0) * subpixC * subpixC;
            subpixH = subpixD * subpixD * kSubpix;

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
            lumaPair = (towardsPos ? lumaPos : lumaNeg) + lumaM;

            // Walk both ways along the edge, reading the mean luma of the two rows (or columns)
            // it runs between: the pixel's own and that of its stronger neighbour. The first
            // step lands on texels of the 3x3 neighbourhood.
            along = horizontalSpan ? ivec2(1, 0) : ivec2(0, 1);
            across = (horizontalSpan ? ivec2(0, 1) : ivec2(1, 0)) * (towardsPos ? 1 : -1);
            gradientScaled = gradient * 0.25;
            centreBelow = lumaM - lumaPair * 0.5 < 0.0;
            float stepN = horizontalSpan ? lumaW : lumaS;
            float stepNAcross = horizontalSpan ? (towardsPos ? lumaNW : lumaSW) : (towardsPos ? lumaSE : lumaSW);
            float stepP = horizontalSpan ? lumaE : lumaN;
            float stepPAcross = horizontalSpan ? (towardsPos ? lumaNE : lumaSE) : (towardsPos ? lumaNE : lumaNW);
            lumaEndN = 0.5 * (stepN + stepNAcross) - lumaPair * 0.5;
            lumaEndP = 0.5 * (stepP + stepPAcross) - lumaPair * 0.5;
            doneN = abs(lumaEndN) >= gradientScaled;
            doneP = abs(lumaEndP) >= gradientScaled;
            searchEnds = doneN && doneP;
        } else if (stage == kSearch) {
            if (!doneN) {
                reachN = nextN;
                lumaEndN = 0.5 * (t0.a + t1.a) - lumaPair * 0.5;
                doneN = abs(lumaEndN) >= gradientScaled;
            }
            if (!doneP) {
                reachP = nextP;
                lumaEndP = 0.5 * (t2.a + t3.a) - lumaPair * 0.5;
                doneP = abs(lumaEndP) >= gradientScaled;
            }
            ++searchStep;
            searchEnds = (doneN && doneP) || searchStep == kSearchSteps;
        } else {
            vec2 t = f - floor(f);
            vec4 bottom = mix(t0, t1, t.x);
            vec4 top = mix(t2, t3, t.x);
            colour = mix(bottom, top, t.y);
        }

        if (searchEnds) {
            bool nearerN = reachN < reachP;
            float nearest = float(min(reachN, reachP));
            float spanLength = float(reachN + reachP);
            bool goodSpan = ((nearerN ? lumaEndN : lumaEndP) < 0.0) != centreBelow;
            float pixelOffset = goodSpan ? 0.5 - nearest / spanLength : 0.0;
            float offset = max(pixelOffset, subpixH);
            shift = vec2(across) * offset;
            // Centred, the read moves less than a texel along one axis: the texel pair under it
            // is the pixel's own and one neighbour, as filtering by hand would find them.
            vec2 g = pos + shift - 0.5;
            bvec2 below = notEqual(floor(g), vec2(home));
            vec4 before = across.x != 0 ? (below.x ? colourW : colourM) : (below.y ? colourS : colourM);
            vec4 after = across.x != 0 ? (below.x ? colourM : colourE) : (below.y ? colourM : colourN);
            vec2 t = g - floor(g);
            colour = mix(before, after, across.x != 0 ? t.x : t.y);
            stage = centred ? kDone : kFilter;
        } else if (stage == kFilter) {
            stage = kDone;
        } else if (stage == kCorners) {
            stage = kSearch;
        }
    }
    O0 = vec4(colour.rgb, 1.0);
}
