#include "render/programs.h"

#include "render/shader_library.h"

namespace program {
#define SHOW_DEFINE_BINDING(binding, Type, vertex, fragment, uniforms) Type binding;
SHOW_PROGRAMS(SHOW_DEFINE_BINDING)
#undef SHOW_DEFINE_BINDING
}

#define SHOW_DEFINE_USE(binding, Type, vertex, fragment, uniforms) \
    void Type::use() const \
    { \
        glUseProgram(programs[programIndex]); \
    }
SHOW_PROGRAMS(SHOW_DEFINE_USE)
#undef SHOW_DEFINE_USE

void lookUpUniformLocations()
{
    // `Type` is a type and `name` a member's name: neither can take parentheses.
    // NOLINTBEGIN(bugprone-macro-parentheses)
#define SHOW_LOOK_UP_UNIFORM(type, name) binding.name.location = glGetUniformLocation(programs[index], #name);
#define SHOW_LOOK_UP_PROGRAM(binding_, Type, vertex, fragment, uniforms) \
    { \
        Type& binding = program::binding_; \
        const int index = Type::programIndex; \
        uniforms(SHOW_LOOK_UP_UNIFORM) \
    }
    // NOLINTEND(bugprone-macro-parentheses)
    SHOW_PROGRAMS(SHOW_LOOK_UP_PROGRAM)
#undef SHOW_LOOK_UP_PROGRAM
#undef SHOW_LOOK_UP_UNIFORM
}
