#!/usr/bin/env bash
# The Linux package (the .deb the `package` target makes), unpacked with dpkg-deb into a
# temporary root, and the show played from there:
#   1. its control fields: name, this machine's architecture, the libraries it depends on; and
#      apt, asked to install it here, finds nothing missing (simulated: nothing is installed)
#   2. everything under /usr; the programs as the-show, the-show-player and the-show-capture
#      in bin/; the data in share/the-show (5 textures, 12 models, 26 shaders and their shared code, the soundtrack),
#      byte for byte the data of the runnable folder it was built from
#   3. the desktop entry passes desktop-file-validate, starts the-show and names the icon,
#      which is a 256x256 PNG that is not black
#   4. from an empty folder elsewhere, in Xvfb 320x180: the-show covers the screen, is lit at
#      12 s and Escape ends it with status 0 and nothing on stderr; the-show-player comes up
#      and Escape ends it; the-show-capture draws a frame into the caller's folder
# Usage: linux_package_test.sh <package.deb> <runnable folder it was built from>
set -u
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
built=$2
here=$(dirname "$0")
. "$here/xvfb.sh"

failures=0
caseFailed() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
elsewhere=$work/elsewhere
mkdir -p "$root" "$elsewhere"

# 1. Control fields, and what apt would do with it.
[ -f "$deb" ] || fail "no package at $deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = the-show ] || caseFailed "package name $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || caseFailed "architecture $(field Architecture)"
for library in libsdl2-2.0-0 libopengl0 libegl1 libstdc++6; do
    field Depends | grep -q "\\b$library\\b" || caseFailed "Depends lacks $library: $(field Depends)"
done
echo "$(basename "$deb"): $(field Package) $(field Version) $(field Architecture), $(stat -c %s "$deb") bytes"
echo "depends: $(field Depends)"
apt-get install --simulate -qq "$deb" >"$work/apt.txt" 2>&1 || caseFailed "apt would not install it: $(tail -n 3 "$work/apt.txt")"

# 2. What it holds.
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb cannot unpack $deb"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || caseFailed "files outside /usr: $outside"
[ ! -e "$root/usr/local" ] || caseFailed "files under /usr/local"
for command in the-show the-show-player the-show-capture; do
    [ -x "$root/usr/bin/$command" ] || caseFailed "no usr/bin/$command (or it leads nowhere)"
done
data=$root/usr/share/the-show
count() { find "$data/$1" -maxdepth 1 -type f -name "$2" | wc -l; }
[ "$(count 2d '*')" = 5 ] || caseFailed "$(count 2d '*') textures, not 5"
[ "$(count 3d '*.3d')" = 12 ] || caseFailed "$(count 3d '*.3d') models, not 12"
[ "$(count shaders '*.[vf]s')" = 26 ] || caseFailed "$(count shaders '*.[vf]s') shaders, not 26"
[ "$(count shaders/common '*.glsl')" -gt 0 ] || caseFailed "no shared shader code in shaders/common"
(cd "$built" && ls demooooooo.ogg 2d/* 3d/* shaders/*.[vf]s shaders/common/*) | while read -r file; do
    cmp -s "$built/$file" "$data/$file" || echo "FAIL: $file differs from the built one or is missing"
done | tee "$work/data.txt"
[ -s "$work/data.txt" ] && failures=$((failures + 1))

# 3. The desktop entry and its icon.
entry=$root/usr/share/applications/the-show.desktop
desktop-file-validate "$entry" || caseFailed "desktop-file-validate rejects the entry"
grep -qx 'Exec=the-show' "$entry" || caseFailed "the entry does not start the-show"
grep -qx 'Icon=the-show' "$entry" || caseFailed "the entry does not name the icon the-show"
icon=$root/usr/share/icons/hicolor/256x256/apps/the-show.png
[ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG 256x256" ] ||
    caseFailed "the icon is not a 256x256 PNG: $(identify "$icon" 2>&1)"
iconBrightness=$(brightness "$icon")
echo "icon: mean brightness $iconBrightness"
[ "$(echo "$iconBrightness > 0.02" | bc)" = 1 ] || caseFailed "the icon is black"

# 4. Played from the unpacked root, started from an empty folder somewhere else.
startXvfb 320x180
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
cd "$elsewhere" || fail "cannot enter $elsewhere"

# pressEscape PID CLASS: presses Escape in the program's window until it has ended.
pressEscape() {
    for attempt in 1 2 3 4 5; do
        xdotool windowfocus --sync "$(viewableWindow "$2")" 2>/dev/null
        xdotool key Escape
        waitFor 2 hasEnded "$1" && return 0
    done
    kill "$1" 2>/dev/null
    return 1
}

"$root/usr/bin/the-show" >/dev/null 2>"$work/show-errors.txt" &
pid=$!
if waitFor 60 hasWindow demo; then
    shown=$(now)
    window=$(viewableWindow demo)
    waitFor 5 hasSize "$window" 320x180 || caseFailed "the-show's window is $(windowSize "$window"), not 320x180"
    shotAt "$shown" 12 "$work/show.png" || caseFailed "the-show's screen at 12 s is black"
    hasEnded $pid && caseFailed "the-show ended by itself"
    pressEscape $pid demo || caseFailed "Escape did not end the-show"
else
    caseFailed "the-show showed no window: $(head -c 400 "$work/show-errors.txt")"
    kill $pid 2>/dev/null
fi
wait $pid
status=$?
echo "the-show: status $status"
[ $status -eq 0 ] || caseFailed "the-show ended with status $status"
[ ! -s "$work/show-errors.txt" ] || caseFailed "the-show wrote to stderr: $(head -c 400 "$work/show-errors.txt")"

"$root/usr/bin/the-show-player" --time 12 >/dev/null 2>"$work/player-errors.txt" &
pid=$!
if waitFor 60 hasWindow player; then
    pressEscape $pid player || caseFailed "Escape did not end the-show-player"
else
    caseFailed "the-show-player showed no window: $(head -c 400 "$work/player-errors.txt")"
    kill $pid 2>/dev/null
fi
wait $pid
status=$?
echo "the-show-player: status $status"
[ $status -eq 0 ] || caseFailed "the-show-player ended with status $status"

"$root/usr/bin/the-show-capture" --time 72 --out frame.png --size 64x36 >/dev/null 2>"$work/capture-errors.txt" ||
    caseFailed "the-show-capture failed: $(head -c 400 "$work/capture-errors.txt")"
[ "$(identify -format '%wx%h' "$elsewhere/frame.png" 2>/dev/null)" = 64x36 ] ||
    caseFailed "the-show-capture wrote no 64x36 frame into the caller's folder"

[ $failures -eq 0 ] || fail "$failures of the checks failed"
echo "PASS"
