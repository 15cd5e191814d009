# The Windows builds' hand-out: `cmake --build --preset win32 --target package` makes
# show-win32.zip (show-win64.zip for win64) in the build folder. It holds one folder, so that
# unzipping spills nothing: demo.exe, exactly the data it loads (the lists Content.cmake
# builds, not whatever else lies in the runnable folder) and a README.txt for the person who
# gets the zip. The exe finds its data relative to the working directory, which is its own
# folder when it is started from Explorer, so the folder's layout is the runnable folder's.
#
# Included after Content.cmake, whose file lists it reads. CPack is not used here, so the
# name `package` is free for this target.
if(NOT WIN32 OR SHOW_CONTENT_ONLY)
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(package_name show-win64)
    set(package_bits 64)
else()
    set(package_name show-win32)
    set(package_bits 32)
endif()
set(package_stage ${CMAKE_BINARY_DIR}/package)
set(package_dir ${package_stage}/${package_name})
set(package_zip ${CMAKE_BINARY_DIR}/${package_name}.zip)

# Windows line endings: the read-me is opened on Windows, in whatever editor is at hand.
set(package_readme ${CMAKE_BINARY_DIR}/package-README.txt)
configure_file(${CMAKE_SOURCE_DIR}/cmake/package-readme.txt.in ${package_readme}
    @ONLY NEWLINE_STYLE CRLF)

if(NOT shader_outputs OR NOT SHOW_TEXTURE_FILES OR NOT SHOW_MODEL_FILES OR NOT SHOW_MUSIC_FILE)
    message(FATAL_ERROR "Package.cmake needs Content.cmake's file lists: include it after Content")
endif()
list(TRANSFORM SHOW_TEXTURE_FILES PREPEND ${SHOW_RUN_DIR}/ OUTPUT_VARIABLE package_textures)
list(TRANSFORM SHOW_MODEL_FILES PREPEND ${SHOW_RUN_DIR}/ OUTPUT_VARIABLE package_models)

# Staged afresh each time (a file dropped from the lists must not linger in the zip); the
# whole run takes a second or two, so the target simply always runs.
add_custom_target(package
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory
        ${package_dir}/2d ${package_dir}/3d ${package_dir}/shaders/common
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:demo> ${package_dir}/demo.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${package_readme} ${package_dir}/README.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${SHOW_RUN_DIR}/${SHOW_MUSIC_FILE} ${package_dir}/
    COMMAND ${CMAKE_COMMAND} -E copy ${package_textures} ${package_dir}/2d/
    COMMAND ${CMAKE_COMMAND} -E copy ${package_models} ${package_dir}/3d/
    COMMAND ${CMAKE_COMMAND} -E copy ${shader_stage_outputs} ${package_dir}/shaders/
    COMMAND ${CMAKE_COMMAND} -E copy ${shader_common_outputs} ${package_dir}/shaders/common/
    COMMAND ${CMAKE_COMMAND} -E chdir ${package_stage}
        ${CMAKE_COMMAND} -E tar cf ${package_zip} --format=zip ${package_name}
    BYPRODUCTS ${package_zip}
    COMMENT "Packing ${package_name}.zip"
    VERBATIM)
add_dependencies(package demo shaders content)
