#!/usr/bin/env bash
# The Linux build in a real X window (Xvfb 640x360): full screen, Escape, a second copy, a
# missing soundtrack. Prints the time from start to the full-screen window for the record.
# Usage: linux_window_test.sh <path to the demo executable in its runnable folder>
set -u
demo=$1
here=$(dirname "$0")
. "$here/xvfb.sh"
startXvfb 640x360
export SDL_AUDIODRIVER=dummy   # no sound card here; the show runs silent as it would

# 1. It starts, covers the whole screen, and Escape ends it with status 0 within a second.
start=$(now)
"$demo" &
pid=$!
waitFor 30 hasWindow demo || fail "no window appeared"
window=$(viewableWindow demo)
waitFor 5 hasSize "$window" 640x360 || fail "window is $(windowSize "$window"), not 640x360"
shown=$(now)
echo "start to full-screen window: $(echo "$shown - $start" | bc) s"

# 2. A second copy started while the first runs ends at once with status 0 and shows nothing.
secondStart=$(now)
timeout 10 "$demo"
status=$?
[ $status -eq 0 ] || fail "second copy ended with status $status"
echo "second copy ended after $(echo "$(now) - $secondStart" | bc) s"
[ "$(xdotool search --class demo | wc -l)" -le 2 ] || fail "second copy made a window"
kill -0 $pid 2>/dev/null || fail "the first copy died when the second started"

xdotool windowfocus --sync "$window" 2>/dev/null
pressed=$(now)
xdotool key Escape
waitFor 1 hasEnded $pid || { kill $pid; fail "Escape did not end the show within a second"; }
wait $pid
status=$?
[ $status -eq 0 ] || fail "Escape ended the show with status $status"
echo "Escape to exit: $(echo "$(now) - $pressed" | bc) s"

# 3. Without its soundtrack the show says "Sound error." in a message box and ends.
copy=$(mktemp -d)
cp "$demo" "$copy/"
for data in shaders 2d 3d; do
    [ -e "$(dirname "$demo")/$data" ] && ln -s "$(cd "$(dirname "$demo")" && pwd)/$data" "$copy/$data"
done
"$copy/demo" >/dev/null 2>&1 &
pid=$!
# Nothing else runs on this display, and the show's own window is never shown before the
# soundtrack is open: the one viewable window is the box.
anyViewable() { xdotool search --onlyvisible --name '' 2>/dev/null | head -n 1; }
hasAnyWindow() { [ -n "$(anyViewable)" ]; }
waitFor 30 hasAnyWindow || { kill $pid; fail "no message box"; }
box=$(anyViewable)
kill -0 $pid 2>/dev/null || fail "the show ended before the box was dismissed"
# Return presses the box's default button; the box may take a moment to accept focus.
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key --window "$box" Return 2>/dev/null
    xdotool key Return 2>/dev/null
    waitFor 0.5 hasEnded $pid && break
done
hasEnded $pid || { kill $pid; fail "the show did not end after the message box"; }
rm -rf "$copy"
echo "PASS"
