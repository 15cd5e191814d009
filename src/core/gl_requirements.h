#pragma once
// What the show needs of the driver beyond a 3.3 context and its entry points, checked once
// the context is current: double-precision uniforms (glUniform1d and the rest), which came with
// OpenGL 4.0 and are offered to 3.3 contexts by ARB_gpu_shader_fp64. Finding their entry points
// proves nothing: Mesa and some Windows drivers hand out an address for every name they are
// asked for, and the shaders then fail to compile without saying why.
#include <string>

// True when a driver whose GL_VERSION string is `version` (null when it gave none) and that
// lists ARB_gpu_shader_fp64 or not offers double-precision uniforms: version 4.0 or later, or
// the extension.
bool offersDoublePrecisionUniforms(const char* version, bool fp64Extension);

// The line that says the driver lacks them, naming what it offers (GL_VERSION, GL_RENDERER;
// either may be null).
std::string missingDoublePrecisionLine(const char* version, const char* renderer);

// Asks the current context. True when it offers double-precision uniforms; otherwise false,
// with `failure` set to missingDoublePrecisionLine of this driver.
bool checkDoublePrecisionUniforms(std::string& failure);
