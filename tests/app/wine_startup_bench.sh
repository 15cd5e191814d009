#!/usr/bin/env bash
# Start-up under wine, step by step: runs a Windows program that prints its start-up steps (the
# build's startup_bench.exe) on a wine desktop in Xvfb, as the window test starts the show,
# and prints the median of each step over the runs. Each run starts wine from nothing (its
# server ended before, as in the window test); then as many runs start on wine already up (its
# server and desktop left running, as for a second start). The first run after the prefix was
# made, when this script makes it, is slower and is printed on its own. Prints figures only:
# it fails when the program does not run, never on a time.
# Usage: wine_startup_bench.sh <startup_bench.exe> <runnable folder> [runs, default 5]
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
folder=$2
runs=${3:-5}
here=$(dirname "$0")
. "$here/xvfb.sh"
. "$here/wine.sh"
startXvfb 640x360
WINEPREFIX=${WINEPREFIX:-$(dirname "$exe")/wineprefix}
[ -d "$WINEPREFIX" ] && freshPrefix=false || freshPrefix=true
prepareWine "$folder/$(basename "$exe")"
trap 'kill $XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null' EXIT
cd "$folder" || fail "no runnable folder $folder"

results=$(mktemp)
trap 'kill $XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null; rm -f "$results"' EXIT

# runOnce LABEL: one start, its step lines kept as "LABEL<TAB>step<TAB>ms"; ALSA's complaints
# about a machine without a sound card go to stderr, which is dropped.
runOnce() {
    local output
    output=$(timeout 60 "$WINE" explorer "$DESKTOP" "$exe" --launched-at "$(date +%s.%N)" 2>/dev/null | tr -d "\r") ||
        { echo "$output"; fail "$(basename "$exe") failed under wine"; }
    grep -q "to first frame" <<<"$output" || { echo "$output"; fail "$(basename "$exe") printed no first frame"; }
    grep '^renderer:' <<<"$output" | head -n 1 >"$results.renderer"
    sed -n 's/^  \(.*[^ ]\)  *\([0-9.-]*\) ms$/\1\t\2/p' <<<"$output" | sed "s/^/$1\t/" >>"$results"
}

# median LABEL: each step in order of first appearance with its median over the runs.
median() {
    awk -F'\t' -v label="$1" '
        $1 == label {
            if (!($2 in count)) order[++steps] = $2
            values[$2, ++count[$2]] = $3
        }
        END {
            for (s = 1; s <= steps; ++s) {
                name = order[s]; n = count[name]
                for (i = 1; i <= n; ++i) sorted[i] = values[name, i]
                for (i = 2; i <= n; ++i)
                    for (j = i; j > 1 && sorted[j - 1] > sorted[j]; --j) {
                        t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
                    }
                m = n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
                printf "  %-34s %8.1f ms\n", name, m
            }
        }' "$results"
}

stopWine() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}

if $freshPrefix; then
    stopWine
    runOnce fresh
    echo "first run after the prefix was made:"
    median fresh
fi
for run in $(seq 1 "$runs"); do
    stopWine
    runOnce cold
done
echo "wine started for each run, median of $runs:"
median cold

# Wine's server kept alive and its desktop up before the runs.
stopWine
wineserver -p 2>/dev/null
"$WINE" explorer "$DESKTOP" >/dev/null 2>&1 &
hasDesktop() { [ -n "$(xdotool search --onlyvisible --name 'Wine desktop' 2>/dev/null)" ]; }
waitFor 30 hasDesktop || fail "the wine desktop did not appear"
for run in $(seq 1 "$runs"); do
    runOnce warm
done
echo "wine already up, median of $runs:"
median warm
cat "$results.renderer"
rm -f "$results.renderer"
