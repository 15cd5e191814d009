#!/usr/bin/env bash
# Installs every Debian package the builds, the generators, the tests and the show itself need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    # toolchains and build
    build-essential cmake ninja-build pkg-config
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
    clang clang-tidy libclang-rt-14-dev
    # libraries
    libsdl2-dev libglm-dev libstb-dev libgtest-dev
    libegl-dev libgl-dev libgl1-mesa-dri libegl-mesa0 libglu1-mesa-dev
    libvorbis-dev libebur128-dev libtinyobjloader-dev fonts-dejavu-core
    # running and testing: a virtual display, window tools, wine, audio and video tools
    xvfb xdotool x11-utils bc imagemagick wine wine64 ffmpeg sox
    # the GLSL reference compiler: a strict check of the shaders beside the driver's own
    glslang-tools
)

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
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
