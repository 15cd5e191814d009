#pragma once
// The show's GL table on WebGL2 (web backend only). WebGL2 is OpenGL ES 3.0 with a few rules of
// its own; this layer lets the show's desktop GL 3.3 calls run on it unchanged:
//   - rectangle textures become 2D textures; unsized and generic compressed formats become
//     sized ones (3-channel sRGB images gain an alpha channel, as WebGL2 cannot mipmap them);
//     CLAMP_TO_BORDER becomes CLAMP_TO_EDGE (every border tap the shaders take is clamped);
//   - every framebuffer is drawn through one made for its current draw buffers, holding just
//     those images at the places the buffers name: WebGL2 takes COLOR_ATTACHMENTi only at
//     draw-buffer place i and refuses a draw that samples any image of the bound framebuffer;
//   - a depth-stencil image bound for sampling is a copy of it, refreshed when it has been
//     drawn into since: the light and forward passes sample depth while testing against it;
//   - shaders are rewritten to GLSL ES 3.00 (core/glsl_es_dialect.h); double-precision
//     uniforms are set in single precision; GL_FRAMEBUFFER_SRGB on the default framebuffer
//     makes the fragment stage encode its output;
//   - enables WebGL2 lacks (multisampling, seamless cube maps, primitive restart, which is
//     always on at the index type's largest value) are dropped.
// The OpenGL 1.1 functions the show calls straight are defined here too, over the browser's.

// The table's loader on WebGL2: the layer's own entry where it has one, else the browser's.
// An entry WebGL2 has no counterpart for traps if it is ever called; the show calls none.
void* webgl2ProcAddress(const char* name);
