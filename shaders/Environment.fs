#version 330 core
// Ambient light (light pass, stencil-limited to covered pixels). Reads gbuffer ("N", unit 1;
// encoding in GeometryNM.fs), the depth of depthStencil ("Z", never set, so unit 0) and the 2D
// texture on unit 3 ("E").
//
// Unit 3 holds the studio environment only in the scenes that bind it (the tunnel scenes): a
// lit sphere indexed by the view-space normal (centre = facing the camera, first row of the
// file = facing down), in linear light where a texel of 1 stands for kEnvironmentRadiance.
// The other scenes leave there the normal map their last geometry draw used, which is no
// picture of light; they are lit by light made here instead: the tunnel by a strip along the
// tube, the ground by the open surroundings. The environment is told apart by size (it is the
// only 512 x 512 texture, tools/texgen keeps it so), the tunnel's map from the ground's by its
// alpha (the wall's roughness; the ground's map has none).
//
// O0 diffuse light: the blurred surroundings around the normal times "a" (ambient colour x
// exposure). O1 specular light: the surroundings reflected about the normal, blurred by
// roughness, times the Fresnel reflectance and "s" (the exposure), plus "b". Both are darkened
// by the ambient occlusion found in the depth buffer. The view is taken along -z, which is what
// a lit sphere assumes.
uniform sampler2DRect N;
uniform sampler2DRect Z;
uniform sampler2D E;
uniform vec3 a;
uniform vec3 s;
uniform vec3 b;
out vec4 O0;
out vec4 O1;

const int kStudioEnvironmentSize = 512;
// The environment's brightest soft boxes (texel value 1) in units of the ambient colour: at
// the intro's low exposures only the lights and what reflects them come out of the black.
const float kEnvironmentRadiance = 1.8;
// The studio's surround is stored in whole steps of grey, the darkest its compression keeps
// grey. A knee at this level takes a one-step grey down nearly four stops when read, the
// five-step panels two thirds of a stop, and leaves the lights as they are (e^3 / (e^2 + k^2) is
// e well above k and e^3 / k^2 below it): as the intro's exposure climbs the panels whiten
// one after another while the flanks and grooves stay dark until its last seconds.
const float kSurroundKnee = 0.12;
// Per unit of exposure ("s", which rises as the square of the intro's time) squared.
const float kStudioScatter = 0.002;

#include "common/view_depth.glsl"
// The camera's lens, fixed at start-up: a 35 mm lens on a 36 x 24 mm frame's diagonal field, so
// the vertical field follows from the render size's aspect alone.
const float kDiagonalField = 0.95155;   // 2 atan(18 / 35), radians

// Ambient occlusion: six samples on a spiral within a disc of this share of the render
// height, scaled to world units by each pixel's depth, so folds read at any distance; each
// pixel of a row's pair takes three of them (with eight, a pixel's fourth read cost llvmpipe
// half a millisecond a frame at 640 x 360 for a picture within 48 dB of this one).
const int kOcclusionSamples = 6;
const float kOcclusionRadiusShare = 0.035;
const float kOcclusionStrength = 1.0;
// Even the deepest fold keeps some light: ambient light also arrives from what the fold's own
// walls reflect.
const float kLeastOpenness = 0.3;
const float kTangentBias = 0.2;

#include "common/octahedral.glsl"
#include "common/interleaved_gradient_noise.glsl"

float tanHalfVerticalField(vec2 size)
{
    float aspect = size.x / size.y;
    return tan(0.5 * kDiagonalField / sqrt(aspect * aspect + 1.0));
}

vec3 viewPosition(vec2 pixel, vec2 size, float tanHalfField)
{
    float depth = texelFetch(Z, ivec2(pixel)).r;
    float viewZ = viewDepth(depth);
    vec2 ndc = pixel / size * 2.0 - 1.0;
    return vec3(ndc * vec2(tanHalfField * size.x / size.y, tanHalfField) * -viewZ, viewZ);
}

// Share of the ambient light that reaches the pixel: 1 in the open and on any flat surface,
// less in folds, corners and where a form meets the ground. Each sample that lies above the
// surface's tangent plane and near it obscures, by how steeply it rises over the plane; one beyond the disc's reach counts less and
// less, so a silhouette far in front casts no dark halo on what lies behind it.
float ambientOcclusion(vec3 position, vec3 n, vec2 size, float tanHalfField)
{
    float radiusPixels = kOcclusionRadiusShare * size.y;
    float radius = radiusPixels * (-position.z) * 2.0 * tanHalfField / size.y;
    float noise = gradientNoiseAt(gl_FragCoord.xy);
    // The spiral's samples are shared between the two pixels of a row's pair: this one takes
    // every other one, starting at its place in the pair, and the pair's sums are added below.
    // Each sample is turned by the same angle from the one before, so one sine and cosine
    // serve them all.
    float first = float(int(gl_FragCoord.x) & 1);
    float firstAngle = 6.2831853 * (noise + (first + noise) * 2.6 / float(kOcclusionSamples));
    vec2 direction = vec2(cos(firstAngle), sin(firstAngle));
    const float kTurn = 2.0 * 6.2831853 * 2.6 / float(kOcclusionSamples);
    const mat2 kNextSample = mat2(cos(kTurn), sin(kTurn), -sin(kTurn), cos(kTurn));
    float obscured = 0.0;
    for (int i = 0; i < kOcclusionSamples / 2; ++i) {
        float k = (2.0 * float(i) + first + noise) / float(kOcclusionSamples);
        vec2 offset = direction * radiusPixels * k;
        direction = kNextSample * direction;
        vec2 pixel = clamp(gl_FragCoord.xy + offset, vec2(0.5), size - 0.5);
        vec3 toSample = viewPosition(pixel, size, tanHalfField) - position;
        float distanceSquared = dot(toSample, toSample);
        float reach = max(1.0 - distanceSquared / (radius * radius), 0.0);
        // Samples within about 12 degrees of the tangent plane do not count: the buffer's
        // normals are rounded to 8 bits and a faceted model's are smoothed, and either would
        // otherwise make a surface shade itself in a fine speckle.
        float elevation = dot(toSample, n) * inversesqrt(max(distanceSquared, 1e-12));
        obscured += reach * max(elevation - kTangentBias, 0.0) / (1.0 - kTangentBias);
    }
    // The other pixel of the pair, by the horizontal difference from this one's side, where it
    // shows the same surface; at a silhouette this pixel's own samples count twice (the other
    // may be a pixel the pass does not cover, whose buffers hold nothing of this frame).
    float neighbour = obscured + dFdx(obscured) * (1.0 - 2.0 * first);
    bool sameSurface = abs(dFdx(position.z)) < 0.05 * -position.z;
    float pair = obscured + (sameSurface ? neighbour : obscured);
    return clamp(1.0 - kOcclusionStrength * pair / float(kOcclusionSamples), kLeastOpenness, 1.0);
}

// The open surroundings, by view-space direction (y up, as the scenes' cameras are nearly
// level): a bright haze at the horizon, the sky deepening overhead, a broad soft light high on
// the left in front, a cooler one behind on the right that lights silhouettes' rims, and below
// the horizon the ground's dull bounce.
vec3 openSurroundings(vec3 d)
{
    vec3 ground = vec3(0.2, 0.18, 0.16);
    vec3 horizon = vec3(1.25, 1.2, 1.15);
    vec3 zenith = vec3(0.75, 0.85, 1.05);
    vec3 sky = mix(horizon, zenith, smoothstep(0.05, 0.85, d.y));
    vec3 colour = mix(ground, sky, smoothstep(-0.2, 0.04, d.y));
    vec3 key = normalize(vec3(-0.55, 0.65, 0.52));
    float lobe = smoothstep(0.55, 1.0, dot(d, key));
    // Behind the subject, high on the right: what a silhouette's rim reflects.
    float rim = smoothstep(0.6, 1.0, dot(d, normalize(vec3(0.6, 0.35, -0.72))));
    // Far ahead, a little up and to the left: an opening that grazing walls and floors catch
    // in their reflection, so that their relief runs in light and dark bands towards it.
    float opening = smoothstep(0.8, 1.0, dot(d, normalize(vec3(-0.3, 0.25, -0.92))));
    return colour * (1.0 - 0.6 * opening) + vec3(2.2, 2.05, 1.85) * lobe * lobe + vec3(1.6, 1.7, 1.9) * rim
        + vec3(3.0, 2.9, 2.7) * opening * opening;
}

// The studio environment's texel as light: the surround below the knee sinks towards black.
vec3 studioLight(vec3 texel)
{
    vec3 squared = texel * texel;
    return texel * squared / (squared + kSurroundKnee * kSurroundKnee) * kEnvironmentRadiance;
}

// The same surroundings seen through a surface of the given roughness: the irradiance around
// the normal for a matt one, the sharp reflection for a mirror.
vec3 openLight(vec3 d, vec3 n, float roughness)
{
    // Less fill than the sun: the ground's relief and the lettering's faces keep their shade.
    vec3 diffuse = mix(vec3(0.1, 0.09, 0.08), vec3(0.7, 0.7, 0.75), smoothstep(-0.7, 0.7, n.y))
        + vec3(1.3, 1.2, 1.05) * max(dot(n, normalize(vec3(-0.55, 0.65, 0.52))), 0.0);
    return mix(openSurroundings(d), diffuse, roughness * roughness);
}

// Inside the tunnel with no studio bound (the tunnel's normal map is on the unit): the tube
// is lit by one long strip light running along it, high on the left, and a weaker cool one low
// on the right, with the rest of its inside dark. A wall, a metal, shows the strip by where its
// normal points around the tube, as the studio's walls do (the view runs down the tube's axis,
// so the normal's angle around the view is its place around the tube), and its ribs catch it
// on their crests and lose it on their flanks. So the walls run in light and dark bands around
// the tube instead of one even reflection. A sculpture's plastic takes the strip's light by
// its normal: light on the side towards it, dark on the other, and a rim where its silhouette
// reflects the tube's bright far end.
const vec3 kStripColour = vec3(1.6, 1.5, 1.35);
const vec3 kCoolColour = vec3(0.35, 0.4, 0.5);
const vec3 kTubeDark = vec3(0.018);
// The wall, behind the sculpture, reflects the strip dimmed to this share: at full strength its
// lobe washes the backdrop out behind the sculpture and swallows the thin ones, where dimmed it
// still shows the tube's bands and leaves the sculpture standing out against them.
const float kWallStripShare = 0.15;

// Small warm lamps set in the tube's wall, in rings along it, some lit, some not, at various
// strengths: the sculpture stands in focus and the lamps behind it open into the lens's
// hexagonal discs, so the background has depth and points of light instead of an even field.
// Placed by where the wall lies around and along the view (the camera is still), not by the
// wall's moving ribs, so they hold still while the tunnel flows.
const vec3 kLampColour = vec3(110.0, 55.0, 80.0);
const float kLampRowsPerUnit = 2.0;
const float kLampsPerRow = 12.0;

float tubeLamp(vec3 position)
{
    float along = -position.z * kLampRowsPerUnit;
    float row = floor(along);
    // Around the view by a pseudo-angle, 0 to 4 once round (cheaper than an arc tangent and as
    // good for spacing lamps); each ring turned against the one before, so they do not line up.
    float diamond = position.y / (abs(position.x) + abs(position.y) + 1e-6);
    float around = position.x >= 0.0 ? 1.0 - diamond : 3.0 + diamond;
    float sector = around * (kLampsPerRow / 4.0) + 0.37 * row;
    // An integer hash, not a sine's far digits: those differ between drivers.
    uint h = uint(int(row)) * 1973u + uint(int(floor(sector))) * 9277u + 26699u;
    h = (h ^ (h >> 16u)) * 0x7feb352du;
    h = (h ^ (h >> 15u)) * 0x846ca68bu;
    float draw = float((h ^ (h >> 16u)) & 0xffffu) / 65536.0;
    float strength = smoothstep(0.3, 0.4, draw) * (0.5 + 0.5 * fract(draw * 7.0));
    vec2 fromLamp = vec2((fract(sector) - 0.5) * 0.6, fract(along) - 0.5);
    // None on the sculpture (nearer than the wall) and none far down the tube, where the rings
    // would crowd into one glare.
    float reach = smoothstep(0.5, 0.8, -position.z) * smoothstep(8.0, 3.0, -position.z);
    return strength * smoothstep(0.035, 0.0, length(fromLamp)) * reach;
}

vec3 tubeWall(vec3 n, float roughness, vec3 position)
{
    float around = length(n.xy);
    vec2 ring = n.xy / max(around, 1e-4);
    // A wall faces the tube's axis: the strip high on the left lights the walls facing it, those
    // low on the right. Rougher metal spreads the strip wider and dimmer.
    float width = mix(3.0, 1.2, roughness);
    float strip = pow(max(dot(ring, normalize(vec2(0.55, -0.83))), 0.0), width * 2.0);
    float cool = pow(max(dot(ring, normalize(vec2(-0.7, 0.7))), 0.0), width * 3.0);
    float crest = 0.25 + 0.75 * smoothstep(0.8, 0.97, around);
    return kTubeDark + (kStripColour * kWallStripShare * strip + kCoolColour * cool) * crest
        + kLampColour * tubeLamp(position);
}

// The sculptures' key light, its highlight's colour, and its spread: the power of the cosine
// for a mirror and for a matt surface; the level keeps the energy of the lobe about the same.
const vec3 kKeyDirection = normalize(vec3(-0.7, 0.4, 0.6));
const vec3 kHighlightColour = vec3(1.0, 0.97, 0.9);
const float kSharpestHighlight = 120.0;
const float kWidestHighlight = 6.0;
const float kHighlightLevel = 1.0;

vec3 tubeDiffuse(vec3 n)
{
    // The strip to the upper left and in front of the sculpture, so the faces towards the camera
    // take light too: the faces towards it lit, those turned away in shade, and the silhouette
    // on the right caught by the cool strip behind it.
    float key = max(dot(n, kKeyDirection), 0.0);
    float cool = max(dot(n, normalize(vec3(0.8, -0.15, -0.45))), 0.0);
    return kTubeDark + kStripColour * key * key * 2.4 + kCoolColour * 4.0 * cool * cool * cool;
}

vec3 tubeReflection(vec3 d)
{
    // Straight down the tube lies its far end, bright with the fog's light.
    float farEnd = smoothstep(0.6, 1.0, -d.z);
    return tubeDiffuse(d) * 0.3 + vec3(1.5) * farEnd;
}

// The key strip to the upper left, seen in a sculpture as a mirror: a highlight near white,
// small and hot on a smooth surface, wider and dimmer on a rough one. The strip is a light of
// its own colour, not the tube's: the caller weights it by the exposure's strongest channel,
// not by the ambient colour.
vec3 keyHighlight(vec3 d, float roughness)
{
    float sharpness = mix(kSharpestHighlight, kWidestHighlight, roughness);
    return kHighlightColour * pow(max(dot(d, kKeyDirection), 0.0), sharpness) * sharpness * kHighlightLevel;
}

void main()
{
    vec2 size = vec2(textureSize(N));
    vec4 surface = texelFetch(N, ivec2(gl_FragCoord.xy));
    vec3 n = octahedralDecode(surface.rg);
    float reflectance = surface.b;
    float roughness = surface.a;
    vec3 reflectedDirection = reflect(vec3(0.0, 0.0, -1.0), n);

    float tanHalfField = tanHalfVerticalField(size);
    vec3 position = viewPosition(gl_FragCoord.xy, size, tanHalfField);

    // The studio's two reads run in every scene (llvmpipe runs a branch for every block, taken or
    // not), so in the others they read a normal map's coarsest texel: one texel, always in the
    // cache, where the studio's coordinates would fetch from all over a large map (the carousel's
    // light pass took 1.8 ms longer at 640 x 360). That texel's alpha tells the two maps apart.
    bool studio = textureSize(E, 0).x == kStudioEnvironmentSize;
    // Slightly inside the sphere's rim, whose outermost texels blend with the image corners.
    vec2 sphere = studio ? vec2(0.5 + 0.48 * n.x, 0.5 + 0.48 * n.y) : vec2(0.5);
    float coarsestLevel = log2(float(textureSize(E, 0).x));
    float diffuseLevel = studio ? max(coarsestLevel - 4.0, 0.0) : coarsestLevel;
    vec4 around = textureLod(E, sphere, diffuseLevel);
    vec4 mirrored = textureLod(E, sphere, studio ? roughness * diffuseLevel : coarsestLevel);

    vec3 diffuse, reflected;
    vec3 highlight = vec3(0.0);
    if (studio) {
        // Light scattered about the studio, which grows with the exposure three times over: nothing
        // while the tunnel comes out of black, enough to whiten the surround's black as the
        // last seconds burn the picture out.
        vec3 scattered = kStudioScatter * s * s;
        diffuse = studioLight(around.rgb) + scattered;
        reflected = studioLight(mirrored.rgb) + scattered;
    } else if (around.a < 0.9) {
        // The tunnel's normal map (its alpha is the wall's roughness, well below 1; the
        // ground's has none and reads 1).
        diffuse = tubeDiffuse(n);
        if (reflectance > 0.5) {
            reflected = tubeWall(n, roughness, position);
        } else {
            reflected = tubeReflection(reflectedDirection);
            highlight = keyHighlight(reflectedDirection, roughness);
        }
    } else {
        diffuse = openLight(n, n, 1.0);
        reflected = openLight(reflectedDirection, n, roughness);
    }

    float occlusion = ambientOcclusion(position, n, size, tanHalfField);

    float facing = clamp(n.z, 0.0, 1.0);
    float smoothness = 1.0 - roughness;
    float fresnel = reflectance + (1.0 - reflectance) * pow(1.0 - facing, 5.0) * smoothness * smoothness;

    O0 = vec4(a * diffuse * occlusion, 1.0);
    O1 = vec4((s * reflected + max(max(s.r, s.g), s.b) * highlight) * fresnel * occlusion + b, 1.0);
}
