#version 330 core
// Geometry pass with a normal map (tunnel and ground plane): writes the surface into gbuffer
// (RGBA8). Encoding: RG = view-space normal, octahedral (0.5, 0.5 is +z); B = specular
// reflectance at normal incidence ("r".x: 0 dull dielectric, 1 metal); A = roughness (0 mirror
// to 1 matt). Normal map "N" (unit 3, 2D): red and green are the normal's components along
// increasing s and increasing t (towards later rows of the file), mapped from [-1, 1] to
// [0, 1]; the outward component is rebuilt from them, so two- and three-channel maps both work.
// Alpha is the map's roughness (a file without alpha reads 1: matt); "r".y is the least
// roughness the surface has.
uniform sampler2D N;
uniform vec2 r;
in vec3 normalV;
in vec3 tangentV;
in vec3 bitangentV;
in vec2 uv;
out vec4 O0;

#include "common/safe_normalize.glsl"
#include "common/octahedral.glsl"
#include "common/normal_dither.glsl"

// Texels of the map under one pixel over which its relief fades out (the tunnel's ribs repeat
// every 128 texels).
const float kReliefFadeStart = 16.0;
const float kReliefFadeEnd = 48.0;

// The map repeats. Its coordinates are wrapped here, with the gradients of the unwrapped ones,
// so the filter's footprint and the picture stay the same: on the tunnel's far rings they grow
// large, and llvmpipe's anisotropic sampler can then spend minutes on a single frame.
vec4 sampleRepeating(sampler2D map, vec2 coordinates)
{
    return textureGrad(map, fract(coordinates), dFdx(coordinates), dFdy(coordinates));
}

void main()
{
    vec4 map = sampleRepeating(N, uv);
    vec2 slope = map.rg * 2.0 - 1.0;
    // Far down the tube the wall's ribs come closer together than two or three pixels, and the
    // map's filtered levels still leave enough of them to beat against the pixel grid: moire
    // rings that crawl as the wall scrolls. Where a pixel spans that many texels the relief
    // fades out, and the far wall reads as the smooth metal it would be seen as.
    vec2 footprint = max(abs(dFdx(uv)), abs(dFdy(uv))) * vec2(textureSize(N, 0));
    slope *= 1.0 - smoothstep(kReliefFadeStart, kReliefFadeEnd, max(footprint.x, footprint.y));
    vec3 tangentSpace = vec3(slope, sqrt(max(1.0 - dot(slope, slope), 0.0)));
    vec3 surfaceNormal = safeNormalize(normalV, vec3(0.0, 0.0, 1.0));
    vec3 n = tangentV * tangentSpace.x + bitangentV * tangentSpace.y + surfaceNormal * tangentSpace.z;
    n = safeNormalize(n, surfaceNormal);
    float roughness = clamp(max(map.a, r.y), 0.0, 1.0);
    O0 = vec4(ditheredForEightBits(octahedralEncode(n)), clamp(r.x, 0.0, 1.0), roughness);
}
