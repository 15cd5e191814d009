#version 330 core
// Composite, at full size into outputImage (sRGB-encoded by the framebuffer, so this writes
// linear values). Blends sceneColor ("A", unit 2; alpha the signed circle of confusion in
// full-size pixels) with the half-size depth-of-field result ("D", unit 3) by the size of the
// circle, adds the quarter-size glow ("G", unit 4), applies the one fixed gain and a filmic
// tone curve, and dithers by up to one 8-bit sRGB step so dark gradients do not band.
uniform sampler2DRect A;
uniform sampler2DRect D;
uniform sampler2DRect G;
out vec4 O0;

// Fixed gain from the exposed scene light to the tone curve's input: the credits scene at its
// effective exposure 0.053 lands its mid tones near 18 % grey. Keep BrightPass.fs equal.
const float kGain = 8.0;
const float kGlowStrength = 0.15;

// Filmic curve fitted to the common film-like reference transform: toe, shoulder, white at 1.
vec3 toneCurve(vec3 x)
{
    return clamp((x * (2.51 * x + 0.03)) / (x * (2.43 * x + 0.59) + 0.14), 0.0, 1.0);
}

vec3 linearToSrgb(vec3 c)
{
    return mix(c * 12.92, 1.055 * pow(c, vec3(1.0 / 2.4)) - 0.055, greaterThan(c, vec3(0.0031308)));
}

vec3 srgbToLinear(vec3 c)
{
    return mix(c / 12.92, pow((c + 0.055) / 1.055, vec3(2.4)), greaterThan(c, vec3(0.04045)));
}

// Two independent values in [0, 1) per pixel from an integer hash of its position.
vec2 pixelNoise(uvec2 p)
{
    uint h = p.x * 1973u + p.y * 9277u + 26699u;
    h = (h ^ (h >> 16u)) * 0x7feb352du;
    h = (h ^ (h >> 15u)) * 0x846ca68bu;
    h = h ^ (h >> 16u);
    return vec2(float(h & 0xffffu), float(h >> 16u)) * (1.0 / 65536.0);
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    vec4 sharp = texture(A, p);
    vec3 blurred = texture(D, p * 0.5).rgb;
    vec3 glow = texture(G, p * 0.25).rgb;
    float blurAmount = smoothstep(1.0, 3.0, abs(sharp.a));
    vec3 light = mix(sharp.rgb, blurred, blurAmount) + glow * kGlowStrength;
    light = mix(light, vec3(0.0), isnan(light));
    vec3 display = toneCurve(max(light, 0.0) * kGain);
    // Triangular noise of one 8-bit step, added where the 8-bit sRGB rounding happens.
    vec2 noise = pixelNoise(uvec2(p));
    vec3 encoded = linearToSrgb(display) + (noise.x + noise.y - 1.0) / 255.0;
    O0 = vec4(srgbToLinear(clamp(encoded, 0.0, 1.0)), 1.0);
}
