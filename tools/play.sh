#!/usr/bin/env bash
# Installs what is missing, builds the Linux port and its data, and plays the show. Where there
# is no display it captures the show to a video with its soundtrack instead, at a size and rate
# this kind of machine renders in a few minutes without a GPU, and says where the file is.
# It installs only what building and playing needs (and ffmpeg for the video); the tests'
# tools come with tools/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    bash tools/install-deps.sh play
    cmake --preset linux >/dev/null
    cmake --build --preset linux --target demo content shaders
    exec build/linux/show/demo
fi

bash tools/install-deps.sh play video
cmake --preset linux >/dev/null

size=${SHOW_VIDEO_SIZE:-480x270}
fps=${SHOW_VIDEO_FPS:-30}
video=$PWD/build/show-${size}.mp4
cmake --build --preset linux --target capture content shaders
echo
echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the show is"
echo "captured to a video instead: ${size} at ${fps} frames a second, with its soundtrack."
echo "(SHOW_VIDEO_SIZE and SHOW_VIDEO_FPS choose others, for example 1920x1080 and 60.)"
build/linux/show/capture --out "$video" --size "$size" --fps "$fps"
echo
echo "The show is in $video"
echo "Watch it with any video player, for example: ffplay $video  (or mpv, vlc, a browser)"
