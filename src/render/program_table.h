#pragma once
// The show's programs, each in one row: its binding name, its stages and its uniforms. Everything
// that has one entry per program (the linked names, the build order, the bindings of
// render/programs.h, the count) is made from this table; adding a program is adding a row.
//
// The rows are laid out by hand, so the formatter leaves this table alone.
// clang-format off
//
// The two stage lists give each stage file once, in the order the library compiles them
// (fragment list first, then vertex); a stage at path "shaders/<name>.fs" or ".vs":
//     STAGE(name)
#define SHOW_FRAGMENT_STAGES(STAGE)                                                              \
    STAGE(DOF0) STAGE(DOF1) STAGE(Glow0) STAGE(Glow1) STAGE(BrightPass) STAGE(Half) STAGE(Texture) \
    STAGE(FXAA) STAGE(Combine) STAGE(GeometryNM) STAGE(GeometryFlat) STAGE(MaterialSolid)          \
    STAGE(MaterialAlbedo) STAGE(MaterialEmissive) STAGE(TunnelFireWorks) STAGE(Color)              \
    STAGE(Environment) STAGE(Directional)
#define SHOW_VERTEX_STAGES(STAGE) \
    STAGE(Flat) STAGE(TunnelNM) STAGE(Tunnel) STAGE(PlaneNM) STAGE(Plane) STAGE(Background) STAGE(Light) STAGE(Object)

// Each uniform list, in lookup order:
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


// The programs in build order, which is the order of `programs` (render/shader_library.h):
//     PROGRAM(binding name, type name, vertex stage, fragment stage, uniform list)
// The stages are names from the lists above; a name that is in neither does not compile.
#define SHOW_PROGRAMS(PROGRAM) \
    PROGRAM(flatDOF0, FlatDOF0Program, Flat, DOF0, SHOW_FLAT_DOF0_UNIFORMS) \
    PROGRAM(flatDOF1, FlatDOF1Program, Flat, DOF1, SHOW_FLAT_DOF1_UNIFORMS) \
    PROGRAM(flatGlow0, FlatGlow0Program, Flat, Glow0, SHOW_FLAT_GLOW0_UNIFORMS) \
    PROGRAM(flatGlow1, FlatGlow1Program, Flat, Glow1, SHOW_FLAT_GLOW1_UNIFORMS) \
    PROGRAM(flatBrightPass, FlatBrightPassProgram, Flat, BrightPass, SHOW_FLAT_BRIGHT_PASS_UNIFORMS) \
    PROGRAM(flatHalf, FlatHalfProgram, Flat, Half, SHOW_FLAT_HALF_UNIFORMS) \
    PROGRAM(flatTexture, FlatTextureProgram, Flat, Texture, SHOW_FLAT_TEXTURE_UNIFORMS) \
    PROGRAM(flatCombine, FlatCombineProgram, Flat, Combine, SHOW_FLAT_COMBINE_UNIFORMS) \
    PROGRAM(flatFXAA, FlatFXAAProgram, Flat, FXAA, SHOW_FLAT_FXAA_UNIFORMS) \
    PROGRAM(tunnelNMGeometryNM, TunnelNMGeometryNMProgram, TunnelNM, GeometryNM, SHOW_TUNNEL_NM_GEOMETRY_NM_UNIFORMS) \
    PROGRAM(planeNMGeometryNM, PlaneNMGeometryNMProgram, PlaneNM, GeometryNM, SHOW_PLANE_NM_GEOMETRY_NM_UNIFORMS) \
    PROGRAM(objectGeometryFlat, ObjectGeometryFlatProgram, Object, GeometryFlat, SHOW_OBJECT_GEOMETRY_FLAT_UNIFORMS) \
    PROGRAM(tunnelMaterialSolid, TunnelMaterialSolidProgram, Tunnel, MaterialSolid, SHOW_TUNNEL_MATERIAL_SOLID_UNIFORMS) \
    PROGRAM(backgroundColor, BackgroundColorProgram, Background, Color, SHOW_BACKGROUND_COLOR_UNIFORMS) \
    PROGRAM(objectMaterialSolid, ObjectMaterialSolidProgram, Object, MaterialSolid, SHOW_OBJECT_MATERIAL_SOLID_UNIFORMS) \
    PROGRAM(tunnelTunnelFireWorks, TunnelTunnelFireWorksProgram, Tunnel, TunnelFireWorks, SHOW_TUNNEL_TUNNEL_FIRE_WORKS_UNIFORMS) \
    PROGRAM(planeMaterialAlbedo, PlaneMaterialAlbedoProgram, Plane, MaterialAlbedo, SHOW_PLANE_MATERIAL_ALBEDO_UNIFORMS) \
    PROGRAM(objectMaterialEmissive, ObjectMaterialEmissiveProgram, Object, MaterialEmissive, SHOW_OBJECT_MATERIAL_EMISSIVE_UNIFORMS) \
    PROGRAM(flatEnvironment, FlatEnvironmentProgram, Flat, Environment, SHOW_FLAT_ENVIRONMENT_UNIFORMS) \
    PROGRAM(lightDirectional, LightDirectionalProgram, Light, Directional, SHOW_LIGHT_DIRECTIONAL_UNIFORMS)
// clang-format on
