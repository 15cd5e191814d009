# Cross-compiles the Windows build with Debian's MinGW-w64 (i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Float arithmetic on SSE2, rounded at every single-precision step as on the 64-bit builds.
# Debian's i686 compiler defaults to the x87 unit, which keeps intermediates at 80 bits and
# rounds once: the shipping build's models, normals and camera then differ from the others'
# in the last bit. Set as compile options rather than cached flags, so a build folder made
# before this line takes them too (src/platform/single_precision_win32.cpp fails without them).
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-msse2;-mfpmath=sse>")
