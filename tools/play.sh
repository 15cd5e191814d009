#!/usr/bin/env bash
# Installs what is missing, builds the Linux port and its data, and plays the show. Where there
# is no display it captures the show to a video with its soundtrack instead, at a size and rate
# this kind of machine renders in a few minutes without a GPU, and says where the file is.
# It installs only what building and playing needs (and ffmpeg for the video); the tests'
# tools come with tools/test.sh.
#
# With --web it builds the web page instead (build/web/show, a static folder) and serves it on
# 127.0.0.1 until stopped (Ctrl-C); SHOW_WEB_PORT chooses the port (default 8080).
# Usage: play.sh [--web]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--web" ]; then
    # The web build's data comes from the native content build, which needs the play group.
    bash tools/install-deps.sh play web
    cmake --preset web >/dev/null
    cmake --build --preset web
    port=${SHOW_WEB_PORT:-8080}
    echo
    echo "The show is served at http://127.0.0.1:$port/ (from build/web/show; Ctrl-C stops it)."
    echo "Open it in a browser with WebGL2, then click to start; Escape ends it."
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/show
elif [ $# -gt 0 ]; then
    echo "play.sh: no option $1 (the only one is --web)" >&2
    exit 2
fi

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
