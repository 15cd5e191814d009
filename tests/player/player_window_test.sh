#!/usr/bin/env bash
# The player in a real X window (Xvfb): it starts paused at the time asked for, its picture there
# is capture's frame at the same time and size, keys move time as documented (read from the
# window title), saving a shader or pressing R reloads the shaders and a broken one only
# reports its log, and Escape ends it with status 0.
# Usage: player_window_test.sh <player executable> <capture executable>, both in the runnable folder
set -u
player=$1
capture=$2
here=$(dirname "$0")
. "$here/../app/xvfb.sh"
startXvfb 640x360
export SDL_AUDIODRIVER=dummy   # no sound card here
work=$(mktemp -d)
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT

# The player runs from a folder of its own with a copy of the shaders, which step 3 edits.
run="$work/run"
mkdir -p "$run"
cp "$player" "$run/"
data=$(cd "$(dirname "$player")" && pwd)
for item in 2d 3d demooooooo.ogg; do ln -s "$data/$item" "$run/$item"; done
cp -r "$data/shaders" "$run/shaders"

"$run/player" --time 90 --paused --size 320x180 >"$work/player.log" 2>&1 &
pid=$!
waitFor 30 hasWindow player || { cat "$work/player.log"; fail "no window appeared"; }
window=$(viewableWindow player)
waitFor 5 hasSize "$window" 320x180 || fail "window is $(windowSize "$window"), not 320x180"

title() { xdotool getwindowname "$window"; }
titleStarts() { [[ "$(title)" == "$1"* ]]; }
# expectTitle KEY PREFIX: presses KEY and waits for the title to start with PREFIX.
expectTitle() {
    xdotool key --window "$window" "$1"
    waitFor 5 titleStarts "$2" || fail "after $1 the title is '$(title)', not '$2...'"
}

waitFor 10 titleStarts "t 90.000 s | carousel 10.000 s" || fail "started with title '$(title)'"
[[ "$(title)" == *"| paused" ]] || fail "--paused did not start paused: '$(title)'"

# 1. The frame shown at 90 s is capture's frame at 90 s and the same size.
"$capture" --time 90 --size 320x180 --out "$work/capture.png" >/dev/null || fail "capture failed"
sleep 0.3
import -window "$window" "$work/player.png" || fail "could not read the window"
differing=$(compare -metric AE "$work/player.png" "$work/capture.png" null: 2>&1)
echo "pixels differing from capture --time 90: $differing"
[ "$differing" = 0 ] || fail "the player's frame at 90 s differs from capture's in $differing pixels"

# 2. Keys, while paused, so the times are exact.
xdotool windowfocus --sync "$window" 2>/dev/null
expectTitle Right "t 91.000 s"
expectTitle shift+Right "t 101.000 s"
expectTitle Left "t 100.000 s"
expectTitle period "t 100.017 s"
expectTitle comma "t 100.000 s"
expectTitle 2 "t 25.000 s | particle flash 0.000 s"
expectTitle 4 "t 65.000 s | fireworks 65.000 s"
expectTitle Home "t 0.000 s | tunnel intro 0.000 s"

# 3. Shaders: a save that breaks one reports its log and keeps the picture; R, a good save and a
# save of shared code reload. Each reload ends with a line of its own in the log.
reloads() { grep -c "shaders reloaded" "$work/player.log"; }
hasReloads() { [ "$(reloads)" -ge "$1" ]; }
combine="$run/shaders/Combine.fs"
cp "$combine" "$work/Combine.fs"
echo "this is not GLSL;" >>"$combine"
waitFor 10 hasReloads 1 || fail "saving a broken shader reloaded nothing"
grep -q "Combine.fs does not compile" "$work/player.log" || fail "no report of the broken shader"
grep -qi "error" "$work/player.log" || fail "no compile log"
kill -0 $pid || fail "a broken shader ended the player"
cp "$work/Combine.fs" "$combine"
waitFor 10 hasReloads 2 || fail "saving the good shader again reloaded nothing"
xdotool key --window "$window" r
waitFor 10 hasReloads 3 || fail "R reloaded nothing"
# The code the stages share is watched too: saving it rebuilds the stages that include it.
shared="$run/shaders/common/composite_gain.glsl"
cp "$shared" "$work/shared.glsl"
cp "$work/shared.glsl" "$shared"
waitFor 10 hasReloads 4 || fail "saving a shared file in shaders/common reloaded nothing"
[ "$(grep -c "kept their last good build" "$work/player.log")" = 1 ] || fail "the good reloads kept old programs"
echo "reloads: $(reloads), one of them with the broken shader"

# 4. Space plays: time moves on and the title loses "paused".
xdotool key --window "$window" space
playing() { [[ "$(title)" != *paused ]] && [[ "$(title)" != "t 0.000 s"* ]]; }
waitFor 5 playing || fail "Space did not play: '$(title)'"
echo "playing: $(title)"

# 5. Escape ends it with status 0.
pressed=$(now)
xdotool key --window "$window" Escape
waitFor 5 hasEnded $pid || { kill $pid; fail "Escape did not end the player"; }
wait $pid
status=$?
[ $status -eq 0 ] || fail "Escape ended the player with status $status"
echo "Escape to exit: $(echo "$(now) - $pressed" | bc) s"

# 6. A bad option is refused with a message and status 2, before any window.
"$player" --size 5x5 >"$work/refused.log" 2>&1
status=$?
[ $status -eq 2 ] || fail "--size 5x5 ended with status $status"
grep -q "size" "$work/refused.log" || fail "no message for --size 5x5"
echo "PASS"
