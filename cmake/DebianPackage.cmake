# The Linux port's package: `cmake --build --preset linux --target package` makes
# the-show_<version>_<arch>.deb in the build folder through CPack.
#
# Layout under /usr: the runnable folder in lib/the-show (demo, player, capture), whose 2d/,
# 3d/, shaders/ and soundtrack are relative links to the data in share/the-show. Each program
# enters the folder of its own executable (links resolved) before it loads anything, so the
# installed show finds its data from any working directory, and the folder is the build's
# runnable folder in shape. bin/ holds links named so they clash with no other program:
# the-show, the-show-player, the-show-capture. A desktop entry and an icon rendered by capture
# from the show's fireworks (72 s) come with it.
#
# Included after Content.cmake, whose file lists it reads. Sanitized and fuzzing builds are
# never packaged, and their capture would report the show's lifelong objects as leaks while
# drawing the icon.
if(WIN32 OR CMAKE_CROSSCOMPILING OR SHOW_CONTENT_ONLY OR SHOW_SANITIZE OR SHOW_FUZZ)
    return()
endif()
if(NOT shader_outputs OR NOT texture_outputs OR NOT model_outputs OR NOT music_output)
    message(FATAL_ERROR "DebianPackage.cmake needs Content.cmake's file lists: include it after Content")
endif()

set(SHOW_PACKAGE_NAME the-show)
set(package_programs lib/${SHOW_PACKAGE_NAME})
set(package_data share/${SHOW_PACKAGE_NAME})

install(TARGETS demo player capture RUNTIME DESTINATION ${package_programs})
install(FILES ${music_output} DESTINATION ${package_data})
install(FILES ${texture_outputs} DESTINATION ${package_data}/2d)
install(FILES ${model_outputs} DESTINATION ${package_data}/3d)
install(FILES ${shader_stage_outputs} DESTINATION ${package_data}/shaders)
install(FILES ${shader_common_outputs} DESTINATION ${package_data}/shaders/common)

# The links, made here and installed as links. Relative, so they hold wherever the tree is
# unpacked (a test's temporary root as much as /).
set(package_links ${CMAKE_BINARY_DIR}/package-links)
file(REMOVE_RECURSE ${package_links})
file(MAKE_DIRECTORY ${package_links}/programs ${package_links}/bin)
foreach(entry 2d 3d shaders ${SHOW_MUSIC_FILE})
    file(CREATE_LINK ../../${package_data}/${entry} ${package_links}/programs/${entry} SYMBOLIC)
    install(FILES ${package_links}/programs/${entry} DESTINATION ${package_programs})
endforeach()
foreach(program demo player capture)
    if(program STREQUAL demo)
        set(command ${SHOW_PACKAGE_NAME})
    else()
        set(command ${SHOW_PACKAGE_NAME}-${program})
    endif()
    file(CREATE_LINK ../${package_programs}/${program} ${package_links}/bin/${command} SYMBOLIC)
    install(FILES ${package_links}/bin/${command} DESTINATION bin)
endforeach()

# The icon: a frame of the show itself, drawn headless at the icon's size by capture.
set(package_icon ${CMAKE_BINARY_DIR}/package-icon/${SHOW_PACKAGE_NAME}.png)
add_custom_command(OUTPUT ${package_icon}
    COMMAND capture --time 72 --size 256x256 --out ${package_icon}
    DEPENDS capture content shaders ${shader_outputs}
    COMMENT "Drawing the package icon (the show at 72 s)"
    VERBATIM)
add_custom_target(package_icon ALL DEPENDS ${package_icon})
install(FILES ${package_icon} DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/${SHOW_PACKAGE_NAME}.desktop DESTINATION share/applications)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${SHOW_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual demo in OpenGL")
set(CPACK_PACKAGE_DESCRIPTION
    "One program takes over the screen with an OpenGL window, starts its soundtrack and plays five time-coded 3D scenes in step with it, through a deferred renderer with photographic post-processing. It ends by itself after 116 seconds; Escape ends it at once. Also the-show-player, the show in a window with its time under the keys, and the-show-capture, which draws any moment of it headless or makes a video. Needs OpenGL 3.3 with double-precision uniforms (OpenGL 4.0 or ARB_gpu_shader_fp64).")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The show's developers <developers@the-show.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs link, found by dpkg-shlibdeps; Mesa's drivers draw where there is
# no GPU driver of another kind, and ffmpeg makes the-show-capture's videos.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libegl-mesa0")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
