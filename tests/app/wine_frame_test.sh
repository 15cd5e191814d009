#!/usr/bin/env bash
# The Windows build renders a frame under wine in a real X window (Xvfb 640x360): renderframe
# draws the shared test frame through every pass in the show's own full-screen window and
# reads it back. The frame must be the whole screen and must hold a picture, not a fill.
# Usage: wine_frame_test.sh <path to renderframe.exe in its runnable folder> <output.png>
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
output=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")   # absolute: the run changes folder
here=$(dirname "$0")
. "$here/xvfb.sh"
. "$here/wine.sh"
startXvfb 640x360
prepareWine "$exe"

cd "$(dirname "$exe")" || fail "no runnable folder"
rm -f "$output"
timeout 300 "$WINE" explorer "$DESKTOP" "$exe" "$output" >/dev/null 2>&1 || fail "renderframe.exe failed"
[ -s "$output" ] || fail "no frame written"

size=$(identify -format '%wx%h' "$output")
[ "$size" = 640x360 ] || fail "frame is $size, not 640x360"
# A real picture has many colours and no unowned (transparent or undefined) pixels.
colours=$(convert "$output" -format %k info:)
opaque=$(convert "$output" -alpha extract -format '%[fx:minima]' info:)
echo "frame: $size, $colours colours, lowest alpha $opaque"
[ "$colours" -gt 1000 ] || fail "the frame is nearly uniform ($colours colours)"
[ "$opaque" = 1 ] || fail "part of the frame was not drawn"
wineserver -k 2>/dev/null
echo "PASS"
