#pragma once
// The texture units by what they hold, and the entries of the texture table (assets/textures.h)
// by what they are. Every bind and every sampler uniform names a unit from here, so a number
// never means "the light buffer" in one file and "the scene's texture" in another.
//
// A unit holds a rectangle texture and a 2-D texture side by side: the renderer binds only
// rectangle targets, the scenes only 2-D textures, so a scene's texture on unit 3 leaves the
// specular light buffer there in place.
#include "core/gl_api.h"

namespace textureUnit {

// The whole frame (construction, beginLightPass).
constexpr int depthStencil = 0;
constexpr int gbuffer = 1;

// The forward pass (beginForwardPass), for the material programs' "D" and "S".
constexpr int diffuseLight = 2;
constexpr int specularLight = 3;

// A scene's 2-D texture where a draw needs one: the tunnel's and the ground's normal maps in
// the geometry pass, the environment in the light pass, the firework streaks in the forward
// pass. It stays bound after the draw, and a later draw that samples the unit without binding
// its own texture sees it.
constexpr int sceneTexture = 3;
// The ground plane's colour, beside the light buffers in the forward pass.
constexpr int groundColor = 4;

// postProcess: its seven targets on consecutive units, read by the half-size, depth-of-field
// and glow stages.
constexpr int postSceneColor = 2;
constexpr int postHalfColor = 3;
constexpr int postDofBlurA = 4;
constexpr int postDofBlurB = 5;
constexpr int postDofResult = 6;
constexpr int postGlowA = 7;
constexpr int postGlowB = 8;

// composite, for Combine's "A", "D" and "G".
constexpr int compositeSceneColor = 2;
constexpr int compositeDofResult = 3;
constexpr int compositeGlow = 4;

// present, for FXAA's "S".
constexpr int presentOutputImage = 2;

}  // namespace textureUnit

// Makes `unit` the active texture unit.
inline void selectTextureUnit(int unit)
{
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
}

// The texture table's entries, in table order.
namespace textureEntry {

constexpr int tunnelNormalMap = 0;  // "2d/ScratchNM_R.png"
constexpr int environment = 1;      // "2d/env0.png", the ambient light's
constexpr int fireworkStreaks = 2;  // "2d/speedlines.png"
constexpr int groundColor = 3;      // "2d/Dirt.jpg"
constexpr int groundNormalMap = 4;  // "2d/DirtNM.jpg"
constexpr int count = 5;

}  // namespace textureEntry
