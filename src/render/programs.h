#pragma once
// The binding layer: one object per linked program, in `program::`, each with `use()` and one
// typed setter per uniform, named after the uniform itself:
//
//     program::flatDOF0.use();
//     program::flatDOF0.S.set(3);
//     program::flatDOF0.step0.set(camera.step0());
//
// Locations are looked up once, by lookUpUniformLocations() after the programs have linked,
// in the order the table below lists them (and again after reloadShaders); nothing looks a
// location up per frame.
#include "render/uniforms.h"

// Every program with its uniforms in lookup order. Each row is
//     PROGRAM(index in `programs`, binding name, type name, its uniform list)
// and each uniform list is
//     UNIFORM(setter type, name)
// where the name is the GLSL uniform name and the setter type one of render/uniforms.h.
#define SHOW_FLAT_DOF0_UNIFORMS(U) U(Int, S) U(Vec2, step0) U(Vec2, step1)
#define SHOW_FLAT_DOF1_UNIFORMS(U) U(Int, S0) U(Int, S1) U(Vec2, step1) U(Vec2, step2) U(Int, S)
#define SHOW_FLAT_GLOW0_UNIFORMS(U) U(Int, S)
#define SHOW_FLAT_GLOW1_UNIFORMS(U) U(Int, S)
#define SHOW_FLAT_BRIGHT_PASS_UNIFORMS(U) U(Int, S)
#define SHOW_FLAT_HALF_UNIFORMS(U) U(Int, S)
#define SHOW_FLAT_TEXTURE_UNIFORMS(U) U(Int, S) U(TwoFloats, s) U(TwoFloats, b)
#define SHOW_FLAT_COMBINE_UNIFORMS(U) U(Int, A) U(Int, D) U(Int, G)
#define SHOW_FLAT_FXAA_UNIFORMS(U) U(Int, S) U(TwoFloats, s)
#define SHOW_TUNNEL_NM_GEOMETRY_NM_UNIFORMS(U) \
    U(Int, N) U(TwoFloats, r) U(Vec2, q) U(Vec2, a) U(Float, len) U(Double, time) U(Mat4, mp) \
    U(Float, rad)
#define SHOW_PLANE_NM_GEOMETRY_NM_UNIFORMS(U) \
    U(Int, N) U(TwoFloats, r) U(Mat4, m) U(Mat4, nm) U(Float, ts)
#define SHOW_OBJECT_GEOMETRY_FLAT_UNIFORMS(U) U(Float, r) U(Mat4, m) U(Mat4, nm)
#define SHOW_TUNNEL_MATERIAL_SOLID_UNIFORMS(U) \
    U(Int, D) U(Int, S) U(Vec2, c) U(ThreeFloats, sc) U(Unset, dc) U(Vec2, q) U(Vec2, a) \
    U(Float, len) U(Double, time) U(Mat4, mp) U(Vec3, fc) U(Float, rad)
#define SHOW_BACKGROUND_COLOR_UNIFORMS(U) U(Vec4, c)
#define SHOW_OBJECT_MATERIAL_SOLID_UNIFORMS(U) \
    U(Int, D) U(Int, S) U(Vec2, c) U(ThreeFloats, sc) U(ThreeFloats, dc) U(Vec3, fc) U(Mat4, m)
#define SHOW_TUNNEL_TUNNEL_FIRE_WORKS_UNIFORMS(U) \
    U(Vec2, c) U(Vec3, e) U(Int, T) U(Float, len) U(Double, time) U(Float, rad) U(Vec2, q) \
    U(Vec2, a) U(Mat4, mp) U(Vec3, fc)
#define SHOW_PLANE_MATERIAL_ALBEDO_UNIFORMS(U) \
    U(Int, A) U(Int, D) U(Int, S) U(Vec2, c) U(ThreeFloats, sc) U(ThreeFloats, ds) \
    U(ThreeFloats, db) U(Vec3, fc) U(Mat4, m) U(Float, ts)
#define SHOW_OBJECT_MATERIAL_EMISSIVE_UNIFORMS(U) U(Mat4, m) U(Vec2, c) U(Vec3, e) U(Vec3, fc)
#define SHOW_FLAT_ENVIRONMENT_UNIFORMS(U) \
    U(Int, N) U(Int, E) U(Vec3, a) U(Vec3, s) U(ThreeFloats, b)
#define SHOW_LIGHT_DIRECTIONAL_UNIFORMS(U) U(Int, N) U(Vec3, col) U(Vec3, dir) U(Vec2, hfov)

#define SHOW_PROGRAMS(PROGRAM) \
    PROGRAM(0, flatDOF0, FlatDOF0Program, SHOW_FLAT_DOF0_UNIFORMS) \
    PROGRAM(1, flatDOF1, FlatDOF1Program, SHOW_FLAT_DOF1_UNIFORMS) \
    PROGRAM(2, flatGlow0, FlatGlow0Program, SHOW_FLAT_GLOW0_UNIFORMS) \
    PROGRAM(3, flatGlow1, FlatGlow1Program, SHOW_FLAT_GLOW1_UNIFORMS) \
    PROGRAM(4, flatBrightPass, FlatBrightPassProgram, SHOW_FLAT_BRIGHT_PASS_UNIFORMS) \
    PROGRAM(5, flatHalf, FlatHalfProgram, SHOW_FLAT_HALF_UNIFORMS) \
    PROGRAM(6, flatTexture, FlatTextureProgram, SHOW_FLAT_TEXTURE_UNIFORMS) \
    PROGRAM(7, flatCombine, FlatCombineProgram, SHOW_FLAT_COMBINE_UNIFORMS) \
    PROGRAM(8, flatFXAA, FlatFXAAProgram, SHOW_FLAT_FXAA_UNIFORMS) \
    PROGRAM(9, tunnelNMGeometryNM, TunnelNMGeometryNMProgram, SHOW_TUNNEL_NM_GEOMETRY_NM_UNIFORMS) \
    PROGRAM(10, planeNMGeometryNM, PlaneNMGeometryNMProgram, SHOW_PLANE_NM_GEOMETRY_NM_UNIFORMS) \
    PROGRAM(11, objectGeometryFlat, ObjectGeometryFlatProgram, SHOW_OBJECT_GEOMETRY_FLAT_UNIFORMS) \
    PROGRAM(12, tunnelMaterialSolid, TunnelMaterialSolidProgram, SHOW_TUNNEL_MATERIAL_SOLID_UNIFORMS) \
    PROGRAM(13, backgroundColor, BackgroundColorProgram, SHOW_BACKGROUND_COLOR_UNIFORMS) \
    PROGRAM(14, objectMaterialSolid, ObjectMaterialSolidProgram, SHOW_OBJECT_MATERIAL_SOLID_UNIFORMS) \
    PROGRAM(15, tunnelTunnelFireWorks, TunnelTunnelFireWorksProgram, SHOW_TUNNEL_TUNNEL_FIRE_WORKS_UNIFORMS) \
    PROGRAM(16, planeMaterialAlbedo, PlaneMaterialAlbedoProgram, SHOW_PLANE_MATERIAL_ALBEDO_UNIFORMS) \
    PROGRAM(17, objectMaterialEmissive, ObjectMaterialEmissiveProgram, SHOW_OBJECT_MATERIAL_EMISSIVE_UNIFORMS) \
    PROGRAM(18, flatEnvironment, FlatEnvironmentProgram, SHOW_FLAT_ENVIRONMENT_UNIFORMS) \
    PROGRAM(19, lightDirectional, LightDirectionalProgram, SHOW_LIGHT_DIRECTIONAL_UNIFORMS)

#define SHOW_DECLARE_UNIFORM(type, name) Uniform##type name;
#define SHOW_DECLARE_PROGRAM(index, binding, Type, uniforms) \
    struct Type {                                            \
        static constexpr int programIndex = index;           \
        void use() const;                                    \
        uniforms(SHOW_DECLARE_UNIFORM)                       \
    };
SHOW_PROGRAMS(SHOW_DECLARE_PROGRAM)
#undef SHOW_DECLARE_PROGRAM
#undef SHOW_DECLARE_UNIFORM

namespace program {
#define SHOW_DECLARE_BINDING(index, binding, Type, uniforms) extern Type binding;
SHOW_PROGRAMS(SHOW_DECLARE_BINDING)
#undef SHOW_DECLARE_BINDING
}

// Looks up every uniform of every program in table order (glGetUniformLocation) and stores
// the locations in the bindings above. Needs the 20 linked programs of loadShaders.
void lookUpUniformLocations();
