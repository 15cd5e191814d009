#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# One chunk of a farm: capture draws its frames as PNG, ffmpeg packs them losslessly (FFV1 in
# Matroska), and the record that the join checks is written last, so that a chunk killed at any
# point has no record and is rendered again. A chunk already whole is left as it is.
#   farm-chunk.sh WORK CHUNK [TRIES]
# TRIES (default 1): how often to try before giving up, for schedulers that do not retry
# themselves. Exits 0 once the chunk is whole; otherwise names it and says why, also in
# chunk-K.failed.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/farm-lib.sh"
[ $# -ge 2 ] || { echo "usage: farm-chunk.sh WORK CHUNK [TRIES]" >&2; exit 2; }
loadFarm "$1" || exit 2
chunk=$2
tries=${3:-1}
planOf "$chunk" || exit 2
name=$(farmName "$chunk")
label=$(chunkLabel "$chunk")

# Draws and packs the chunk once; says why not on standard output.
renderOnce() {
    local frames="$work/$name.frames" partial="$work/$name.partial.mkv" status=0
    rm -rf "$frames" "$partial" "$work/$name.done"
    "$showDir/capture" --frames "$frames" --size "$size" --fps "$fps" --from "$chunkFrom" --to "$chunkTo" \
        --subframes "$subframes" --shutter "$shutter" >>"$work/$name.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        echo "capture failed with status $status, see $name.log"
        return 1
    fi
    local drawn
    drawn=$(find "$frames" -name 'frame-*.png' | wc -l)
    if [ "$drawn" -ne "$count" ]; then
        echo "capture drew $drawn frames, not $count"
        return 1
    fi
    if ! ffmpeg -hide_banner -nostdin -loglevel error -y -framerate "$fps" -start_number "$first" \
        -i "$frames/frame-%06d.png" -frames:v "$count" -c:v ffv1 -level 3 -slicecrc 1 -g 1 "$partial" \
        >>"$work/$name.log" 2>&1; then
        echo "ffmpeg could not pack the frames, see $name.log"
        return 1
    fi
    rm -rf "$frames"
    mv "$partial" "$work/$name.mkv" || return 1
    echo "$first $count $size $fps $(stat -c %s "$work/$name.mkv") $(sha256sum <"$work/$name.mkv" | cut -d' ' -f1)" \
        "$subframes $shutter" >"$work/$name.done"
    local problem
    problem=$(chunkProblem "$chunk")
    [ -z "$problem" ] || { echo "the packed chunk is $problem"; return 1; }
}

# A scheduler that retries shows only the last try's messages: this one says why it is needed.
problem=$(chunkProblem "$chunk")
[ -n "$problem" ] || exit 0
if [ "$problem" != missing ]; then
    echo "capture-farm: $label is $problem; rendering it again" >&2
elif [ -f "$work/$name.failed" ]; then
    echo "capture-farm: $label failed before ($(cat "$work/$name.failed")); rendering it again" >&2
elif [ -e "$work/$name.frames" ] || [ -e "$work/$name.partial.mkv" ]; then
    echo "capture-farm: $label was left unfinished by an earlier try; rendering it again" >&2
fi
for ((try = 1; try <= tries; ++try)); do
    echo "=== $label, try $try on $(hostname)" >>"$work/$name.log"
    if why=$(renderOnce); then
        rm -f "$work/$name.failed"
        exit 0
    fi
    echo "$why" >"$work/$name.failed"
    echo "capture-farm: $label failed on $(hostname): $why" >&2
done
exit 1
