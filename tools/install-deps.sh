#!/usr/bin/env bash
# Installs the Debian packages that are missing, by group:
#   play   building the Linux port and its data, and playing it (tools/play.sh)
#   video  making the show's video where there is no display (tools/play.sh, headless)
#   test   everything else the tests need: the Windows cross compilers, wine, clang,
#          clang-tidy and clang-format, GoogleTest, a virtual display and its tools, the GLSL
#          reference compiler, the package checks
#   web    the web build (emscripten) and the browser its tests drive (chromium, headless)
#   farm   the capture farm's schedulers (GNU parallel; Slurm and munge, whose one-node test
#          cluster the farm's test starts itself) and ffmpeg, which packs and joins the chunks
# With no group named, the first four (tools/test.sh, whose farm step installs farm itself).
# Safe to run again: what is there is skipped.
# Usage: install-deps.sh [play] [video] [test] [web] [farm]
set -euo pipefail

play=(
    # toolchain and build
    build-essential cmake ninja-build pkg-config
    # libraries of the show and its content generators; Mesa, for the software renderer where
    # there is no GPU driver
    libsdl2-dev libglm-dev libstb-dev libegl-dev libgl-dev libgl1-mesa-dri libegl-mesa0 libglu1-mesa-dev
    libvorbis-dev libebur128-dev fonts-dejavu-core
)
video=(ffmpeg)
test=(
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
    clang clang-tidy clang-format libclang-rt-14-dev
    libgtest-dev libtinyobjloader-dev
    # a virtual display, window tools, wine, audio and picture tools
    xvfb xdotool x11-utils bc imagemagick wine wine64 sox
    # the GLSL reference compiler: a strict check of the shaders beside the driver's own
    glslang-tools
    # the Linux package's desktop entry check
    desktop-file-utils
)
# emscripten's own cache ships prebuilt, so the web build needs no download beyond these; its tests
# serve the page, compare pictures and decode the soundtrack natively
web=(emscripten nodejs chromium python3 curl libgl-dev ffmpeg imagemagick)
farm=(parallel slurm-wlm munge ffmpeg)

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(play video test web)
packages=()
for group in "${groups[@]}"; do
    case $group in
        play) packages+=("${play[@]}") ;;
        video) packages+=("${video[@]}") ;;
        test) packages+=("${test[@]}") ;;
        web) packages+=("${web[@]}") ;;
        farm) packages+=("${farm[@]}") ;;
        *) echo "install-deps.sh: no group $group (play, video, test, web or farm)" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
echo "install-deps.sh: installing ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
