#pragma once
// The show's twenty GLSL programs: the stage files under "shaders/" paired as
// render/program_table.h says, compiling and linking with the error reports, and the fixed
// attribute and output names.
// Drawing code never touches these names directly; it goes through render/programs.h.
#include "core/gl_api.h"
#include "render/program_table.h"

#include <cstdint>

// The index of each program in `programs`, in the order of render/program_table.h
// ("flatDOF0Index", ...), and their count.
enum ProgramIndex : int {
#define SHOW_PROGRAM_INDEX(binding, Type, vertex, fragment, uniforms) binding##Index,
    SHOW_PROGRAMS(SHOW_PROGRAM_INDEX)
#undef SHOW_PROGRAM_INDEX
        programCount
};

// The linked program names, in table order.
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

// Reads one stage file, expands its includes from "shaders/" (core/glsl_include.h) and
// compiles it; the shader name, or 0 after the report above. An include that cannot be
// expanded (a missing file, a cycle) is reported like a compile error, its one line naming the
// file and line in a message box and on standard error; a compile log of a stage with includes
// ends with a line saying which file each source-string number is.
GLuint compileShaderFile(const char* path, GLenum stageType);

// Binds "A0".."A4" to attribute locations 0-4 and "O0".."O3" to fragment outputs 0-3, then
// links; false after reporting the log.
bool linkProgram(GLuint program);
