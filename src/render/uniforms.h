#pragma once
// Typed uniform setters. Each uniform of a program is one object of the type that its GL call
// needs, so a value of the wrong kind does not compile: the catch-all template overloads are
// deleted, which also stops silent conversions (a float handed to a sampler, a double to a
// float). A location of -1 (the linked program has no such active uniform) is passed to GL
// as it is, and GL ignores it.
//
// None of these makes its program current: callers `use()` the program first.
#include "core/gl_api.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

struct UniformLocation {
    GLint location = -1;
};

// Samplers (a texture unit number) and plain integers: glUniform1i.
struct UniformInt : UniformLocation {
    void set(GLint value) const { glUniform1i(location, value); }
    template <typename T> void set(T) const = delete;
};

// glUniform1f.
struct UniformFloat : UniformLocation {
    void set(GLfloat value) const { glUniform1f(location, value); }
    template <typename T> void set(T) const = delete;
};

// Double precision (glUniform1d): the shaders declare these as double.
struct UniformDouble : UniformLocation {
    void set(GLdouble value) const { glUniform1d(location, value); }
    template <typename T> void set(T) const = delete;
};

// Two separate floats: glUniform2f.
struct UniformTwoFloats : UniformLocation {
    void set(GLfloat x, GLfloat y) const { glUniform2f(location, x, y); }
    template <typename T, typename U> void set(T, U) const = delete;
};

// Three separate floats: glUniform3f.
struct UniformThreeFloats : UniformLocation {
    void set(GLfloat x, GLfloat y, GLfloat z) const { glUniform3f(location, x, y, z); }
    template <typename T, typename U, typename V> void set(T, U, V) const = delete;
};

// Vectors by reference to their consecutive floats: glUniform2fv / 3fv / 4fv, count 1.
struct UniformVec2 : UniformLocation {
    void set(const glm::vec2& value) const { glUniform2fv(location, 1, &value.x); }
    template <typename T> void set(const T&) const = delete;
};

struct UniformVec3 : UniformLocation {
    void set(const glm::vec3& value) const { glUniform3fv(location, 1, &value.x); }
    template <typename T> void set(const T&) const = delete;
};

struct UniformVec4 : UniformLocation {
    void set(const glm::vec4& value) const { glUniform4fv(location, 1, &value.x); }
    template <typename T> void set(const T&) const = delete;
};

// 4x4 matrix, column-major as glm keeps it, not transposed: glUniformMatrix4fv, count 1.
struct UniformMat4 : UniformLocation {
    void set(const glm::mat4& value) const { glUniformMatrix4fv(location, 1, GL_FALSE, &value[0][0]); }
    template <typename T> void set(const T&) const = delete;
};

// A uniform that is looked up like the others but that no draw ever sets.
struct UniformUnset : UniformLocation {};
