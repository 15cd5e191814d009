#version 330 core
// Directional light (light pass, stencil-limited to covered pixels). Reads gbuffer ("N",
// unit 1; encoding in GeometryNM.fs) and the depth of depthStencil ("Z", never set, so unit 0).
// "dir" is the unit view-space direction from a surface towards the light, "col" the light
// colour times the exposure, "hfov".y the tangent of half the vertical field of view. Rebuilds
// the view-space position from the depth, then writes Lambert diffuse light into O0 and a
// microfacet specular (GGX distribution, Smith shadowing, Schlick Fresnel, driven by the
// gbuffer's roughness and reflectance) into O1. Both are scaled alike: "col" x n.l is what a
// white Lambert surface reflects, the diffuse BRDF's 1/pi folded into "col", so the specular
// BRDF is multiplied by pi to match.
uniform sampler2DRect N;
uniform sampler2DRect Z;
uniform vec3 col;
uniform vec3 dir;
uniform vec2 hfov;
in vec2 ndc;
out vec4 O0;
out vec4 O1;

const float kPi = 3.14159265;

#include "common/view_depth.glsl"
#include "common/safe_normalize.glsl"
#include "common/octahedral.glsl"

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 surface = texelFetch(N, pixel);
    vec3 n = octahedralDecode(surface.rg);
    float reflectance = surface.b;
    float roughness = max(surface.a, 0.05);

    // Depth to view space. The horizontal tangent is aspect x the vertical one, with the aspect
    // taken from the render size, as the projection has it.
    float depth = texelFetch(Z, pixel).r;
    float viewZ = viewDepth(depth);
    vec2 size = vec2(textureSize(N));
    vec2 tangents = vec2(hfov.y * size.x / size.y, hfov.y);
    vec3 position = vec3(ndc * tangents * -viewZ, viewZ);

    vec3 v = safeNormalize(-position, vec3(0.0, 0.0, 1.0));
    vec3 l = dir;
    float nl = max(dot(n, l), 0.0);
    float nv = max(dot(n, v), 1e-3);
    // Light straight from behind the eye's line (l = -v) has no half vector; the normal stands in.
    vec3 h = safeNormalize(l + v, n);
    // Rounding can put these a hair above 1, and 1 - v.h below 0 makes pow() undefined.
    float nh = clamp(dot(n, h), 0.0, 1.0);
    float vh = clamp(dot(v, h), 0.0, 1.0);

    float alpha = roughness * roughness;
    float alpha2 = alpha * alpha;
    float denominator = nh * nh * (alpha2 - 1.0) + 1.0;
    float distribution = alpha2 / (kPi * denominator * denominator);
    float k = (roughness + 1.0) * (roughness + 1.0) * 0.125;
    float shadowing = nl / (nl * (1.0 - k) + k) * (nv / (nv * (1.0 - k) + k));
    float fresnel = reflectance + (1.0 - reflectance) * pow(1.0 - vh, 5.0);
    float specular = kPi * distribution * shadowing * fresnel / max(4.0 * nl * nv, 1e-3) * nl;

    O0 = vec4(col * nl, 1.0);
    O1 = vec4(col * specular, 1.0);
}
