#pragma once
// The show's twenty GLSL programs: the stage files under "shaders/", the build table that pairs
// them, compiling and linking with the error reports, and the fixed attribute and output names.
// Drawing code never touches these names directly; it goes through render/programs.h.
#include "core/gl_api.h"

#include <cstdint>

constexpr int programCount = 20;

// The linked program names, in build-table order (see programBuildTable in the .cpp):
//   0 Flat/DOF0         5 Flat/Half               10 PlaneNM/GeometryNM      15 Tunnel/TunnelFireWorks
//   1 Flat/DOF1         6 Flat/Texture            11 Object/GeometryFlat     16 Plane/MaterialAlbedo
//   2 Flat/Glow0        7 Flat/Combine            12 Tunnel/MaterialSolid    17 Object/MaterialEmissive
//   3 Flat/Glow1        8 Flat/FXAA               13 Background/Color        18 Flat/Environment
//   4 Flat/BrightPass   9 TunnelNM/GeometryNM     14 Object/MaterialSolid    19 Light/Directional
extern GLuint programs[programCount];

// Where the reports below that take the form of a message box go: start-up hands over the
// platform's message box, so rendering never calls the platform itself. Until one is set those
// reports go nowhere; the lines on standard error are written either way.
using ShaderMessageSink = void (*)(const char* text);
void setShaderMessageSink(ShaderMessageSink sink);

// Compiles all 26 stage files (fragment list first, then vertex), links the 20 programs and
// looks up every uniform location once. False at the first failure, after its report: a file
// that cannot be read gives a message box with its path and "Could not open <path>." on
// standard error; a compile error a message box with the log; a link error the log on standard
// error and in a message box. Programs already created by then are left as they are.
bool loadShaders();

// Builds every program again from the stage files as they are now, for a player that edits
// shaders while the show runs. A program whose stages all compile and link replaces the old one,
// which is deleted; any other keeps the program it had, its last good one. A stage that fails
// gives its log to the sink (a player hands over one that prints it) and a line naming its file
// on standard error; a link failure its log on both. Nothing ends. Uniform locations are looked
// up again. Returns the number of programs that kept their old one.
int reloadShaders();

// Reads and compiles one stage file; the shader name, or 0 after the report above.
GLuint compileShaderFile(const char* path, GLenum stageType);

// Binds "A0".."A4" to attribute locations 0-4 and "O0".."O3" to fragment outputs 0-3, then
// links; false after reporting the log.
bool linkProgram(GLuint program);
