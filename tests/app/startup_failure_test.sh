#!/usr/bin/env bash
# Start-up failures of the Linux build say what failed, in one line on stderr, and end with
# status 1; a second copy alone ends silently with status 0. Each case, and what it expects:
#   no display at all            "Could not open the display: ..."              (demo)
#   Mesa offering only OpenGL 3.2 "Could not create an OpenGL 3.3 core context: ..."
#                                                                               (demo in Xvfb, capture)
#   Mesa offering 3.3 without ARB_gpu_shader_fp64
#                                "The show needs double-precision uniforms ..." naming GL_VERSION
#                                "3.3 ..." and the renderer, before any shader is compiled
#                                                                               (demo in Xvfb, capture)
#   a texture cut in half        "Image file error: 2d/Dirt.jpg;" on a line of its own
#                                                                               (demo in Xvfb)
#   a second copy                nothing at all, status 0                       (demo in Xvfb)
# The demo's stderr must hold exactly that one line (the no-display case may add what the
# windowing libraries print when they find no server); capture adds its own "did not start".
# Usage: startup_failure_test.sh <demo> <capture>   (both in the same runnable folder)
set -u
demo=$1
capture=$2
here=$(dirname "$0")
. "$here/xvfb.sh"
. "$here/fault_matrix.sh"

failures=0
caseFailed() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy   # the failures come before the music; keep ALSA's own lines out

# ends NAME STATUS LINE ONLY COMMAND...: COMMAND ends within 60 s with STATUS, and LINE (fixed
# text, matched at the start of a line) is on its stderr; with ONLY=only it is the one line there.
ends() {
    local name=$1 want=$2 line=$3 only=$4 status
    shift 4
    timeout 60 "$@" >"$work/out" 2>"$work/err"
    status=$?
    echo "$name: status $status, stderr: $(head -c 300 "$work/err" | tr '\n' '|')"
    [ "$status" = "$want" ] || caseFailed "$name: status $status, expected $want"
    if [ -z "$line" ]; then
        [ ! -s "$work/err" ] && [ ! -s "$work/out" ] || caseFailed "$name: wrote something"
        return
    fi
    awk -v l="$line" 'index($0, l) == 1 { found = 1 } END { exit !found }' "$work/err" ||
        caseFailed "$name: no line starting \"$line\" on stderr"
    if [ "$only" = only ]; then
        [ "$(wc -l <"$work/err")" = 1 ] || caseFailed "$name: $(wc -l <"$work/err") lines on stderr, not one"
        [ "$(tail -c 1 "$work/err" | od -An -c | tr -d ' ')" = '\n' ] || caseFailed "$name: the line is not ended"
    fi
    grep -q "Shader compile error" "$work/err" && caseFailed "$name: start-up went on to the shaders"
}

fp64Line="The show needs double-precision uniforms (OpenGL 4.0 or the ARB_gpu_shader_fp64 extension); this driver offers OpenGL 3.3"

# Headless, through capture: its own start-up runs the same checks on EGL.
ends "capture, OpenGL 3.2" 1 "Could not create an OpenGL 3.3 core context" any \
    env MESA_GL_VERSION_OVERRIDE=3.2 "$capture" --time 10 --out "$work/f.png" --size 64x36
ends "capture, 3.3 without fp64" 1 "$fp64Line" any \
    env MESA_GL_VERSION_OVERRIDE=3.3 MESA_EXTENSION_OVERRIDE=-GL_ARB_gpu_shader_fp64 \
    "$capture" --time 10 --out "$work/f.png" --size 64x36
grep -q "llvmpipe" "$work/err" || caseFailed "capture, 3.3 without fp64: the renderer is not named"
[ ! -e "$work/f.png" ] || caseFailed "capture wrote a frame from a driver that cannot draw it"

ends "demo, no display" 1 "Could not open the display" any env -u DISPLAY -u WAYLAND_DISPLAY "$demo"

startXvfb 320x180
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
ends "demo, OpenGL 3.2" 1 "Could not create an OpenGL 3.3 core context: " only \
    env MESA_GL_VERSION_OVERRIDE=3.2 "$demo"
ends "demo, 3.3 without fp64" 1 "$fp64Line" only \
    env MESA_GL_VERSION_OVERRIDE=3.3 MESA_EXTENSION_OVERRIDE=-GL_ARB_gpu_shader_fp64 "$demo"
grep -q "llvmpipe" "$work/err" || caseFailed "demo, 3.3 without fp64: the renderer is not named"

makeFaultCopy "$(dirname "$demo")" demo || fail "cannot copy the runnable folder"
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$work" "$FAULT_WORK"' EXIT
applyFault "$FAULT_WORK/show" 2d/Dirt.jpg truncated
ends "demo, a texture cut in half" 1 "Image file error: 2d/Dirt.jpg;" only "$FAULT_WORK/show/demo"
restoreFile "$FAULT_WORK/show" 2d/Dirt.jpg

# A second copy while the first plays: silent, status 0, and the first plays on.
"$demo" >/dev/null 2>&1 &
first=$!
waitFor 60 hasWindow demo || caseFailed "the first copy showed no window"
ends "demo, a second copy" 0 "" any "$demo"
hasEnded $first && caseFailed "the first copy ended when the second started"
kill $first 2>/dev/null
wait $first 2>/dev/null

[ $failures -eq 0 ] || fail "$failures of the cases failed"
echo "PASS"
