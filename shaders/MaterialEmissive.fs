#version 330 core
// One glowing particle (forward pass, drawn on the screen triangle through Object.vs; depth
// test off, so it tests itself). Its place above the ground comes from the balance of its
// colour "e" (colour x exposure; the exposure is grey, so the balance does not change as it
// fades), so each particle of a field of different colours stands somewhere else. Casts the
// pixel's ray from the camera (rayPoint, rayAxis; "m" is the view-projection) against the
// particle's sphere, drops pixels that miss it or lie behind the scene's depth ("Z", never set,
// so unit 0: depthStencil), and writes "e", brighter towards the centre, faded into "fc" with
// view distance. Alpha: the signed circle of confusion from "c" (circleOfConfusion).
uniform mat4 m;
uniform vec3 e;
uniform vec3 fc;
uniform sampler2DRect Z;
in vec4 rayPoint;
flat in vec4 rayAxis;
out vec4 O0;

// The draw is limited to the screen bounds of this sphere (objects/particle_field.cpp computes
// them from the same radius and centre: keep the two equal).
const float kRadius = 0.15;
// The colours run to 10 and the flash's exposure is never below 0.39: at full strength every
// particle would burn to the same white. A third keeps each one's own hue as the flash fades.
const float kEmission = 0.35;
const float kRimLevel = 0.14;
const float kBodyLevel = 0.22;
const float kCoreLevel = 1.6;
const float kFogDistance = 35.0;

#include "common/circle_of_confusion.glsl"

vec3 worldAt(float ndcDepth)
{
    vec4 h = rayPoint + rayAxis * ndcDepth;
    return h.xyz / h.w;
}

// Spread over a few units around the origin, 0.3 to 1.5 units above the ground: low enough that
// the camera circling 5 units up sees the field across the middle of the frame, not along its
// top edge.
vec3 particleCentre(vec3 colour)
{
    vec3 share = colour / max(colour.r + colour.g + colour.b, 1e-6);
    return vec3((share.r - share.b) * 10.0,
                0.3 + 1.2 * clamp(share.g * 2.0 - 0.2, 0.0, 1.0),
                (share.g - 0.5 * (share.r + share.b)) * 10.0);
}

void main()
{
    if (any(isnan(e)) || any(isinf(e)) || max(e.r, max(e.g, e.b)) <= 0.0)
        discard;
    vec3 eye = rayAxis.xyz / rayAxis.w;
    vec3 direction = normalize(worldAt(1.0) - eye);
    vec3 toEye = eye - particleCentre(e);
    float alongRay = dot(toEye, direction);
    float discriminant = alongRay * alongRay - (dot(toEye, toEye) - kRadius * kRadius);
    if (discriminant < 0.0)
        discard;
    float hitDistance = -alongRay - sqrt(discriminant);
    if (hitDistance <= 0.0)
        discard;
    float sceneDepth = texelFetch(Z, ivec2(gl_FragCoord.xy)).r;
    if (distance(worldAt(sceneDepth * 2.0 - 1.0), eye) < hitDistance)
        discard;

    vec3 hit = eye + direction * hitDistance;
    float z = max((m * vec4(hit, 1.0)).w, 1e-3);
    float centreness = sqrt(discriminant) / kRadius;
    // A small hot core that burns to white inside a body of the particle's own hue, brightest
    // towards the middle: a light, not a white disc with a coloured ring. The body stays
    // below the tone curve's shoulder at the flash's brightest and falls off by the square of
    // the centreness (the centreness itself drops steeply at the rim, which drew the body's
    // edge as a ring); the core's peak is narrow (the twelfth power), and the glow pass
    // spreads both around it.
    float centreness2 = centreness * centreness;
    float centreness4 = centreness2 * centreness2;
    float core = centreness4 * centreness4 * centreness4;
    vec3 glow = e * kEmission * (kRimLevel + kBodyLevel * centreness2 + kCoreLevel * core);
    float fog = 1.0 - exp(-(z * z) / (kFogDistance * kFogDistance));
    vec3 colour = mix(clamp(glow, 0.0, 60000.0), clamp(fc, 0.0, 60000.0), fog);
    O0 = vec4(colour, circleOfConfusion(z));
}
