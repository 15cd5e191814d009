#!/usr/bin/env bash
# The win64 build under wine (Xvfb 640x360) with broken data, one file at a time in a copy of
# the runnable folder, and with no sound device at all:
#   the soundtrack missing     a message box says "Sound error.", status 1
#   a texture cut in half      "Image file error: <file>;" on stderr; the show ends, status 1
#   Mesa offering OpenGL 3.2   a message box says the 3.3 context could not be made, status 1
#   Mesa offering 3.3 without ARB_gpu_shader_fp64
#                              a message box names the first missing entry point, glUniform1d,
#                              status 1
#   a shader of random bytes   the compile log in a message box, "Shader compile error." on
#                              stderr, status 1
#   a model missing            the show plays on: its first scene is on the screen, and Escape
#                              ends it with status 0
#   no audio driver            wine's audio drivers all switched off: the first two scenes are
#                              on the screen in silence, and Escape ends it with status 0
# Where start-up fails the show runs straight under wine, so its exit status is wine's; a
# message box is read through wine's trace of window texts and answered with Return. Where it
# plays on, it runs on a wine desktop as the window test does.
# Usage: wine_fault_test.sh <path to demo.exe in its runnable folder>
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(dirname "$0")
. "$here/xvfb.sh"
. "$here/wine.sh"
. "$here/fault_matrix.sh"
startXvfb 640x360
# The build's own prefix, shared with the other wine tests: made once.
prepareWine "$exe"
makeFaultCopy "$(dirname "$exe")" demo.exe || fail "cannot copy the runnable folder"
trap 'kill $XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$FAULT_WORK"' EXIT
cd "$COPY" || fail "no copy of the runnable folder"

output=$FAULT_WORK/output.txt
failures=0
caseFailed() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Nothing else runs on this display: any viewable window is the show's or its message box's.
anyViewable() { xdotool search --onlyvisible --name '' 2>/dev/null | head -n 1; }
hasAnyWindow() { [ -n "$(anyViewable)" ]; }
showWindow() {
    for w in $(xdotool search --onlyvisible --class demo.exe 2>/dev/null); do
        [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Default IME" ] || { echo "$w"; return; }
    done
}
hasShowWindow() { [ -n "$(showWindow)" ]; }

# pressUntilEnded PID KEY: presses KEY in whatever window is up until the show has ended (a
# key can be lost while a window is still taking the focus; several boxes may follow).
pressUntilEnded() {
    local attempt window
    for attempt in $(seq 1 20); do
        window=$(anyViewable)
        [ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null
        xdotool key "$2" 2>/dev/null
        waitFor 1 hasEnded "$1" && return 0
    done
    return 1
}

# endsWith FILE FAULT STATUS TEXT: the show, with that fault, ends with STATUS and TEXT in its
# output (window texts included), after every message box has been answered.
endsWith() {
    local name="$1 $2" began pid status
    applyFault "$COPY" "$1" "$2"
    began=$(now)
    WINEDEBUG=-all,trace+win "$WINE" "$COPY/demo.exe" >"$output" 2>&1 &
    pid=$!
    waitFor 60 hasAnyWindow || waitFor 1 hasEnded $pid || { kill $pid; caseFailed "$name: nothing appeared"; }
    pressUntilEnded $pid Return || { kill $pid; caseFailed "$name: the show did not end"; }
    wait $pid
    status=$?
    restoreFile "$COPY" "$1"
    echo "$name: status $status, $(echo "$(now) - $began" | bc) s"
    [ "$status" = "$3" ] || caseFailed "$name: status $status, expected $3"
    grep -qF -- "$4" "$output" || caseFailed "$name: no \"$4\" in the output"
    wineserver -w 2>/dev/null
}

# A full-screen window needs a wine desktop to be sized on (see wine.sh), and the desktop's
# explorer does not hand on the show's exit status: a batch file run on the desktop writes it.
# cmd waits for each program of a batch file, so the file appears only once the show has ended.
printf '@demo.exe\r\n@echo %%errorlevel%%> status.txt\r\n' >"$COPY/play.bat"

# playsOn NAME SECONDS...: the show on a wine desktop comes up, is on the screen at each of
# SECONDS after its window, and Escape ends it with status 0. Whatever WINEDLLOVERRIDES is set
# to applies.
playsOn() {
    local name=$1 began shown at status pid
    shift
    rm -f "$COPY/status.txt"
    began=$(now)
    "$WINE" explorer "$DESKTOP" cmd /c play.bat >"$output" 2>&1 &
    pid=$!
    waitFor 60 hasShowWindow || { kill $pid; caseFailed "$name: no window appeared"; return; }
    shown=$(now)
    echo "$name: start to window $(echo "$shown - $began" | bc) s"
    for at in "$@"; do
        shotAt "$shown" "$at" "$FAULT_WORK/screen.png" || caseFailed "$name: the screen at $at s is black"
        [ -e "$COPY/status.txt" ] && { caseFailed "$name: the show had ended by $at s"; break; }
    done
    local desktop
    desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1)
    for attempt in $(seq 1 10); do
        # Keys reach wine through the X window that has the focus: the wine desktop's.
        xdotool windowfocus --sync "$desktop" 2>/dev/null
        xdotool key Escape
        waitFor 1 hasEnded $pid && break
    done
    hasEnded $pid || { kill $pid; caseFailed "$name: Escape did not end the show"; }
    wait $pid
    status=$(tr -d '\r\n ' <"$COPY/status.txt" 2>/dev/null)
    echo "$name: status ${status:-none}"
    [ "$status" = 0 ] || caseFailed "$name: Escape ended the show with status ${status:-none}"
    wineserver -w 2>/dev/null
}

endsWith demooooooo.ogg missing 1 'L"Sound error."'
endsWith 2d/Dirt.jpg truncated 1 "Image file error: 2d/Dirt.jpg;"
# wine's OpenGL is the host's Mesa, which takes its overrides from the environment. No file is
# broken in these two ("none" is no fault kind, and restoring a whole file changes nothing).
MESA_GL_VERSION_OVERRIDE=3.2 endsWith demooooooo.ogg none 1 \
    'L"The OpenGL driver could not create an OpenGL 3.3 context."'
# wine's opengl32 hands out only the functions of what the driver offers, so here the missing
# double-precision uniforms show as their first missing entry point.
MESA_GL_VERSION_OVERRIDE=3.3 MESA_EXTENSION_OVERRIDE=-GL_ARB_gpu_shader_fp64 endsWith demooooooo.ogg none 1 \
    'L"The OpenGL driver lacks glUniform1d, which the show needs."'
endsWith shaders/Combine.fs random 1 "Shader compile error."

applyFault "$COPY" 3d/g_0.3d missing
playsOn "3d/g_0.3d missing" 12
restoreFile "$COPY" 3d/g_0.3d

# No audio driver: the overrides switch off every one wine has (ALSA, PulseAudio, OSS, and
# CoreAudio for completeness), so winmm finds no device at all.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv,wineoss.drv,winecoreaudio.drv=d" \
    playsOn "no audio driver" 12 30

[ $failures -eq 0 ] || fail "$failures of the cases failed"
echo "PASS"
