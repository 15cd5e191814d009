# Third-party headers, taken from Debian's packages and staged into one folder of their own.
#
# The Windows builds must never see the host's /usr/include (its libc and system headers would
# shadow MinGW's), so only the few header trees we use are exposed, through links in
# ${SHOW_DEPS_INCLUDE}. The Linux build uses the same folder so every build includes alike:
#   <glm/...>                 glm (libglm-dev)
#   <stb/stb_image.h> ...     stb (libstb-dev); implementations compiled in our own units
#   <GL/glcorearb.h>          OpenGL core types, enums and PFN typedefs (libgl-dev)
#   <KHR/khrplatform.h>       its companion
set(SHOW_DEPS_INCLUDE ${CMAKE_BINARY_DIR}/deps/include)
file(MAKE_DIRECTORY ${SHOW_DEPS_INCLUDE}/GL ${SHOW_DEPS_INCLUDE}/KHR)

function(show_stage_dependency link target)
    if(NOT EXISTS ${target})
        message(FATAL_ERROR "Missing ${target}: run tools/install-deps.sh first")
    endif()
    file(CREATE_LINK ${target} ${SHOW_DEPS_INCLUDE}/${link} SYMBOLIC)
endfunction()

show_stage_dependency(glm /usr/include/glm)
show_stage_dependency(stb /usr/include/stb)
show_stage_dependency(GL/glcorearb.h /usr/include/GL/glcorearb.h)
show_stage_dependency(KHR/khrplatform.h /usr/include/KHR/khrplatform.h)

add_library(show_deps INTERFACE)
target_include_directories(show_deps SYSTEM INTERFACE ${SHOW_DEPS_INCLUDE})
# glm's defaults are fine, but radians everywhere and no experimental extensions.
target_compile_definitions(show_deps INTERFACE GLM_FORCE_SILENT_WARNINGS)
