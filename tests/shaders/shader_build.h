#pragma once
// Builds the show's programs straight from the files under shaders/ (the runnable folder's
// copy), with the fixed attribute names A0-A4 and output names O0-O3, so the tests can check
// the GLSL independently of the C++ shader library. Includes are expanded as the library
// expands them (core/glsl_include.h).
#include <cstdint>
#include <string>

struct BuiltProgram {
    uint32_t program = 0;  // 0 when a stage failed to compile or the pair failed to link
    std::string log;       // file read error, compile log or link log
};

BuiltProgram buildProgram(const std::string& vertexStage, const std::string& fragmentStage);
