#!/usr/bin/env bash
# The win64 build under wine in a real X window (Xvfb 640x360): it starts and goes full
# screen, a second copy ends at once with status 0, the first two scenes put a picture on the
# screen, and Escape ends it with status 0. This is how the Win32 platform code is tested on a
# Linux machine. Prints the time from start to the full-screen window for the record, and
# saves the two screenshots beside the build's runnable folder.
# Usage: wine_window_test.sh <path to demo.exe in its runnable folder>
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(dirname "$0")
. "$here/xvfb.sh"
. "$here/wine.sh"
startXvfb 640x360
prepareWine "$exe"

cd "$(dirname "$exe")" || fail "no runnable folder"

# The show's top-level window: the viewable demo.exe window that is not wine's IME helper.
showWindow() {
    for w in $(xdotool search --onlyvisible --class demo.exe 2>/dev/null); do
        [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Default IME" ] || { echo "$w"; return; }
    done
}

start=$(now)
"$WINE" explorer "$DESKTOP" "$exe" >/dev/null 2>&1 &
pid=$!
hasShowWindow() { [ -n "$(showWindow)" ]; }
waitFor 60 hasShowWindow || fail "no window appeared"
window=$(showWindow)
waitFor 10 hasSize "$window" 640x360 || fail "window is $(windowSize "$window"), not 640x360"
# Demo time 0 is the full-screen window's first frame, give or take a frame.
shown=$(now)
echo "start to full-screen window under wine: $(echo "$shown - $start" | bc) s"

secondStart=$(now)
timeout 60 "$WINE" explorer "$DESKTOP" "$exe" >/dev/null 2>&1
status=$?
[ $status -eq 0 ] || fail "second copy ended with status $status"
echo "second copy ended after $(echo "$(now) - $secondStart" | bc) s"
kill -0 $pid 2>/dev/null || fail "the first copy died when the second started"

# The tunnel fading up (its exposure grows with the square of time, so not too early), then
# the flash over the ground (25-35 s). Under wine llvmpipe draws a few frames a second: each
# time lies well inside its scene, so the frame on the screen is from the same scene.
pictures=$(dirname "$(dirname "$exe")")
shotAt "$shown" 12 "$pictures/wine-tunnel.png" || { kill $pid; fail "the tunnel screenshot is black"; }
kill -0 $pid 2>/dev/null || fail "the show had ended by the tunnel screenshot"
shotAt "$shown" 30 "$pictures/wine-flash.png" || { kill $pid; fail "the flash screenshot is black"; }
kill -0 $pid 2>/dev/null || fail "the show had ended by the flash screenshot"

# Keys reach wine through the X window that has the focus: the wine desktop's. Focus can take
# a moment to settle after the second copy's start, so the key is pressed again until it lands.
# The show looks at the key once a frame, and a frame can take more than a second on a busy
# machine: the key is held down across a few frames each time.
desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1)
pressed=$(now)
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowfocus --sync "${desktop:-$window}" 2>/dev/null
    xdotool keydown Escape
    waitFor 2 hasEnded $pid
    xdotool keyup Escape
    hasEnded $pid && break
done
hasEnded $pid || { kill $pid; fail "Escape did not end the show"; }
echo "Escape to exit under wine: $(echo "$(now) - $pressed" | bc) s"
wait $pid
status=$?
[ $status -eq 0 ] || fail "Escape ended the show with status $status"
wineserver -k 2>/dev/null
echo "PASS"
