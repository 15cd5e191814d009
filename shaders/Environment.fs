#version 330 core
// Ambient light (light pass, stencil-limited to covered pixels). Reads gbuffer ("N", unit 1;
// encoding in GeometryNM.fs) and the environment texture ("E", unit 3, 2D): a lit sphere,
// indexed by the view-space normal (centre = facing the camera, first row of the file = facing
// down). O0 diffuse
// light: the blurred environment around the normal times "a" (ambient colour x exposure).
// O1 specular light: the environment reflected about the normal, blurred by roughness, times
// the Fresnel reflectance and "s" (the exposure), plus "b". The view is taken along -z, which is
// what a lit sphere assumes.
uniform sampler2DRect N;
uniform sampler2D E;
uniform vec3 a;
uniform vec3 s;
uniform vec3 b;
out vec4 O0;
out vec4 O1;

vec2 signNotZero(vec2 v)
{
    return vec2(v.x >= 0.0 ? 1.0 : -1.0, v.y >= 0.0 ? 1.0 : -1.0);
}

vec3 octahedralDecode(vec2 encoded)
{
    vec2 e = encoded * 2.0 - 1.0;
    vec3 n = vec3(e, 1.0 - abs(e.x) - abs(e.y));
    if (n.z < 0.0)
        n.xy = (1.0 - abs(n.yx)) * signNotZero(n.xy);
    return normalize(n);
}

void main()
{
    vec4 surface = texelFetch(N, ivec2(gl_FragCoord.xy));
    vec3 n = octahedralDecode(surface.rg);
    float reflectance = surface.b;
    float roughness = surface.a;

    // Slightly inside the sphere's rim, whose outermost texels blend with the image corners.
    vec2 sphere = vec2(0.5 + 0.48 * n.x, 0.5 + 0.48 * n.y);
    float finestToCoarsest = log2(float(max(textureSize(E, 0).x, textureSize(E, 0).y)));
    float diffuseLevel = max(finestToCoarsest - 4.0, 0.0);
    // More light from above than from below, as under an open sky over a ground that shades
    // what faces it: surfaces keep their form where the environment itself is nearly uniform.
    float skyward = 0.65 + 0.35 * n.y;
    vec3 diffuse = textureLod(E, sphere, diffuseLevel).rgb * skyward;
    vec3 reflected = textureLod(E, sphere, roughness * diffuseLevel).rgb;

    float facing = clamp(n.z, 0.0, 1.0);
    float smoothness = 1.0 - roughness;
    float fresnel = reflectance + (1.0 - reflectance) * pow(1.0 - facing, 5.0) * smoothness * smoothness;

    O0 = vec4(a * diffuse, 1.0);
    O1 = vec4(s * reflected * fresnel + b, 1.0);
}
