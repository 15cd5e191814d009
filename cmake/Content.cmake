# The show's data in the runnable folder: shaders copied from the source tree; textures,
# models and the soundtrack generated from source by the host tools (same source, same bytes).
#
# Tool contracts (each writes only its own files, creating folders as needed):
#   texgen     <run-dir>             -> <run-dir>/2d/<the five textures>
#   modelgen   <run-dir>             -> <run-dir>/3d/<the twelve models>
#   soundtrack <file.ogg> [--wav <file.wav>]
set(SHOW_TEXTURE_FILES
    2d/ScratchNM_R.png 2d/env0.png 2d/speedlines.png 2d/Dirt.jpg 2d/DirtNM.jpg)
set(SHOW_MODEL_FILES
    3d/sphere.3d 3d/texturedcube.3d 3d/soundtrackmoravelkint.3d
    3d/g_0.3d 3d/g_1.3d 3d/g_2.3d 3d/g_3.3d 3d/g_4.3d 3d/g_5.3d 3d/g_6.3d 3d/g_7.3d 3d/g_8.3d)
set(SHOW_MUSIC_FILE demooooooo.ogg)

# Shaders: copied one by one so an edit reaches the runnable folder on the next build. The 26
# stage files sit in shaders/, the code they share (core/glsl_include.h) in shaders/common/.
set(shader_source_dir ${CMAKE_SOURCE_DIR}/shaders)
file(GLOB shader_stage_names RELATIVE ${shader_source_dir} CONFIGURE_DEPENDS
    ${shader_source_dir}/*.vs ${shader_source_dir}/*.fs)
file(GLOB shader_common_names RELATIVE ${shader_source_dir} CONFIGURE_DEPENDS ${shader_source_dir}/common/*.glsl)
set(shader_names ${shader_stage_names} ${shader_common_names})
foreach(name IN LISTS shader_names)
    get_filename_component(folder ${SHOW_RUN_DIR}/shaders/${name} DIRECTORY)
    add_custom_command(OUTPUT ${SHOW_RUN_DIR}/shaders/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${shader_source_dir}/${name} ${SHOW_RUN_DIR}/shaders/${name}
        DEPENDS ${shader_source_dir}/${name} VERBATIM)
endforeach()
list(TRANSFORM shader_stage_names PREPEND ${SHOW_RUN_DIR}/shaders/ OUTPUT_VARIABLE shader_stage_outputs)
list(TRANSFORM shader_common_names PREPEND ${SHOW_RUN_DIR}/shaders/ OUTPUT_VARIABLE shader_common_outputs)
set(shader_outputs ${shader_stage_outputs} ${shader_common_outputs})
add_custom_target(shaders ALL DEPENDS ${shader_outputs})

list(TRANSFORM SHOW_TEXTURE_FILES PREPEND ${SHOW_RUN_DIR}/ OUTPUT_VARIABLE texture_outputs)
list(TRANSFORM SHOW_MODEL_FILES PREPEND ${SHOW_RUN_DIR}/ OUTPUT_VARIABLE model_outputs)
set(music_output ${SHOW_RUN_DIR}/${SHOW_MUSIC_FILE})

if(CMAKE_CROSSCOMPILING)
    # The cross compiler makes programs this machine can't run, so a native sub-build of this
    # same tree makes the data, and the data is copied over. The sub-build lives inside this
    # build's own folder, so a build writes nowhere else, whatever folder it was given.
    include(ExternalProject)
    set(host_dir ${CMAKE_BINARY_DIR}/host-content)
    ExternalProject_Add(host_content
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${host_dir}
        CMAKE_GENERATOR Ninja
        CMAKE_ARGS -DSHOW_CONTENT_ONLY=ON -DCMAKE_BUILD_TYPE=Release
                   -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
        BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target content
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON)
    add_custom_target(content ALL
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${host_dir}/show/2d ${SHOW_RUN_DIR}/2d
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${host_dir}/show/3d ${SHOW_RUN_DIR}/3d
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${host_dir}/show/${SHOW_MUSIC_FILE} ${music_output}
        DEPENDS host_content
        VERBATIM)
    return()
endif()

add_custom_command(OUTPUT ${texture_outputs}
    COMMAND texgen ${SHOW_RUN_DIR}
    DEPENDS texgen VERBATIM
    COMMENT "Generating textures")
add_custom_command(OUTPUT ${model_outputs}
    COMMAND modelgen ${SHOW_RUN_DIR}
    DEPENDS modelgen VERBATIM
    COMMENT "Generating models")
add_custom_command(OUTPUT ${music_output}
    COMMAND soundtrack ${music_output}
    DEPENDS soundtrack VERBATIM
    COMMENT "Rendering the soundtrack")
add_custom_target(content ALL DEPENDS ${texture_outputs} ${model_outputs} ${music_output})
if(NOT SHOW_CONTENT_ONLY)
    add_dependencies(shaders content)
endif()
