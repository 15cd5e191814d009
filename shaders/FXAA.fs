#version 330 core
// Final anti-aliasing into the window (sRGB-encoded by the framebuffer, so this writes linear
// values): the fast approximate anti-aliasing filter, version 3.11, quality path with the
// twelve-step edge search. Reads outputImage ("S", unit 2, full-size rectangle texture, decoded
// to linear on fetch); "s" is window size / render size per axis, so a window smaller or larger
// than the render size is scaled. Edges are found on perceptual luma (square root of linear).
uniform sampler2DRect S;
uniform vec2 s;
out vec4 O0;

const float kSubpix = 0.75;            // amount of sub-pixel aliasing removal
const float kEdgeThreshold = 0.125;    // minimum local contrast, relative to the brightest
const float kEdgeThresholdMin = 0.0312;// minimum local contrast in dark areas
const int kSearchSteps = 12;

float stepLength(int i)
{
    if (i < 5) return 1.0;
    if (i == 5) return 1.5;
    if (i < 10) return 2.0;
    if (i == 10) return 4.0;
    return 8.0;
}

float luma(vec3 linear)
{
    return sqrt(max(dot(linear, vec3(0.299, 0.587, 0.114)), 0.0));
}

float lumaAt(vec2 pos)
{
    return luma(texture(S, pos).rgb);
}

void main()
{
    vec2 pos = gl_FragCoord.xy / s;
    vec4 centre = texture(S, pos);
    float lumaM = luma(centre.rgb);
    float lumaS = lumaAt(pos + vec2(0.0, -1.0));
    float lumaE = lumaAt(pos + vec2(1.0, 0.0));
    float lumaN = lumaAt(pos + vec2(0.0, 1.0));
    float lumaW = lumaAt(pos + vec2(-1.0, 0.0));

    float rangeMax = max(max(max(lumaN, lumaS), max(lumaE, lumaW)), lumaM);
    float rangeMin = min(min(min(lumaN, lumaS), min(lumaE, lumaW)), lumaM);
    float range = rangeMax - rangeMin;
    if (range < max(kEdgeThresholdMin, rangeMax * kEdgeThreshold)) {
        O0 = vec4(centre.rgb, 1.0);
        return;
    }

    float lumaNW = lumaAt(pos + vec2(-1.0, 1.0));
    float lumaSE = lumaAt(pos + vec2(1.0, -1.0));
    float lumaNE = lumaAt(pos + vec2(1.0, 1.0));
    float lumaSW = lumaAt(pos + vec2(-1.0, -1.0));

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
    float lengthSign = towardsPos ? 1.0 : -1.0;
    float lumaPair = (towardsPos ? lumaPos : lumaNeg) + lumaM;

    // Walk both ways along the edge, half a pixel towards the stronger neighbour.
    vec2 along = horizontalSpan ? vec2(1.0, 0.0) : vec2(0.0, 1.0);
    vec2 edgePos = pos;
    if (horizontalSpan)
        edgePos.y += lengthSign * 0.5;
    else
        edgePos.x += lengthSign * 0.5;

    float gradientScaled = gradient * 0.25;
    float lumaMM = lumaM - lumaPair * 0.5;
    bool centreBelow = lumaMM < 0.0;

    vec2 posN = edgePos - along * stepLength(0);
    vec2 posP = edgePos + along * stepLength(0);
    float lumaEndN = lumaAt(posN) - lumaPair * 0.5;
    float lumaEndP = lumaAt(posP) - lumaPair * 0.5;
    bool doneN = abs(lumaEndN) >= gradientScaled;
    bool doneP = abs(lumaEndP) >= gradientScaled;
    for (int i = 1; i < kSearchSteps && !(doneN && doneP); ++i) {
        if (!doneN) {
            posN -= along * stepLength(i);
            lumaEndN = lumaAt(posN) - lumaPair * 0.5;
            doneN = abs(lumaEndN) >= gradientScaled;
        }
        if (!doneP) {
            posP += along * stepLength(i);
            lumaEndP = lumaAt(posP) - lumaPair * 0.5;
            doneP = abs(lumaEndP) >= gradientScaled;
        }
    }

    float distanceN = horizontalSpan ? pos.x - posN.x : pos.y - posN.y;
    float distanceP = horizontalSpan ? posP.x - pos.x : posP.y - pos.y;
    bool nearerN = distanceN < distanceP;
    float nearest = min(distanceN, distanceP);
    float spanLength = distanceN + distanceP;
    bool goodSpan = ((nearerN ? lumaEndN : lumaEndP) < 0.0) != centreBelow;
    float pixelOffset = goodSpan ? 0.5 - nearest / spanLength : 0.0;
    float offset = max(pixelOffset, subpixH);

    vec2 finalPos = pos;
    if (horizontalSpan)
        finalPos.y += offset * lengthSign;
    else
        finalPos.x += offset * lengthSign;
    O0 = vec4(texture(S, finalPos).rgb, 1.0);
}
