#pragma once
// The binding layer: one object per linked program, in `program::`, each with `use()` and one
// typed setter per uniform, named after the uniform itself:
//
//     program::flatDOF0.use();
//     program::flatDOF0.S.set(textureUnit::postHalfColor);
//     program::flatDOF0.step0.set(camera.step0());
//
// Locations are looked up once, by lookUpUniformLocations() after the programs have linked,
// in the order render/program_table.h lists them (and again after reloadShaders); nothing looks a
// location up per frame.
#include "render/uniforms.h"

#include "render/shader_library.h"

#define SHOW_DECLARE_UNIFORM(type, name) Uniform##type name;
#define SHOW_DECLARE_PROGRAM(binding, Type, vertex, fragment, uniforms) \
    struct Type { \
        static constexpr int programIndex = binding##Index; \
        void use() const; \
        uniforms(SHOW_DECLARE_UNIFORM) \
    };
SHOW_PROGRAMS(SHOW_DECLARE_PROGRAM)
#undef SHOW_DECLARE_PROGRAM
#undef SHOW_DECLARE_UNIFORM

namespace program {
#define SHOW_DECLARE_BINDING(binding, Type, vertex, fragment, uniforms) extern Type binding;
SHOW_PROGRAMS(SHOW_DECLARE_BINDING)
#undef SHOW_DECLARE_BINDING
}

// Looks up every uniform of every program in table order (glGetUniformLocation) and stores
// the locations in the bindings above. Needs the linked programs of loadShaders.
void lookUpUniformLocations();
