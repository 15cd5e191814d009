#pragma once
// The shaders are written for desktop GLSL 3.30 core. WebGL2 takes GLSL ES 3.00 only, so the
// web build rewrites each stage as it is handed to the driver:
//   - "#version 330 core" becomes "#version 300 es" with high precision declared;
//   - fragment outputs O0 to O3 get layout locations 0 to 3 (ES has no glBindFragDataLocation);
//   - rectangle samplers become 2D samplers, and their lookups, which take texel coordinates,
//     go through helpers that scale them to the unit square; textureSize gets its level 0;
//   - double-precision values become single precision (ES has no doubles, nor their extension);
//   - a fragment stage that writes O0 gains a switch ("showEncodeSrgb") that sRGB-encodes it,
//     since the web page's default framebuffer is not sRGB: the presenting pass sets it where
//     the desktop build enables GL_FRAMEBUFFER_SRGB.
// Everything else passes through unchanged.
#include <string>

// `fragmentStage` is false for a vertex stage.
std::string toGlslEs300(const std::string& source, bool fragmentStage);

// The uniform the rewritten fragment stages read to encode their output.
constexpr const char* srgbEncodeUniform = "showEncodeSrgb";
