#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The farm's join: checks every chunk first (one that is missing, short, cut or made with other
# settings is named and rendered again here, once, or the join refuses), then joins the chunks
# by stream copy through ffmpeg's concat demuxer, decodes them to the raw frames capture itself
# hands ffmpeg, and encodes the delivery file once with farm_encode: capture's own encoder
# settings and soundtrack stretch.
#   farm-join.sh WORK
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/farm-lib.sh"
[ $# -eq 1 ] || { echo "usage: farm-join.sh WORK" >&2; exit 2; }
loadFarm "$1" || exit 2

list="$work/concat.txt"
: >"$list"
for ((chunk = 0; chunk < chunks; ++chunk)); do
    planOf "$chunk" || exit 1
    problem=$(chunkProblem "$chunk")
    if [ -n "$problem" ]; then
        # It names the chunk and says why it is rendered again.
        "$here/farm-chunk.sh" "$work" "$chunk" 1 || true
        problem=$(chunkProblem "$chunk")
    fi
    if [ -n "$problem" ]; then
        echo "capture-farm: $(chunkLabel "$chunk") is $problem; nothing joined" >&2
        exit 1
    fi
    echo "file '$(farmName "$chunk").mkv'" >>"$list"
done

crfOption=()
[ -z "$crf" ] || crfOption=(--crf "$crf")
# -fps_mode passthrough: every joined frame once, whatever the container's rounded timestamps say.
ffmpeg -hide_banner -nostdin -loglevel error -f concat -safe 0 -i "$list" -map 0:v -c copy -f nut pipe:1 |
    ffmpeg -hide_banner -nostdin -loglevel error -f nut -i pipe:0 -fps_mode passthrough -f rawvideo -pix_fmt rgb24 pipe:1 |
    "$showDir/farm_encode" --out "$out" --size "$size" --fps "$fps" --from "$from" --to "$to" "${crfOption[@]}"
status=("${PIPESTATUS[@]}")
if [ "${status[*]}" != "0 0 0" ]; then
    echo "capture-farm: the join failed (concat, decode, encode: ${status[*]}); nothing delivered" >&2
    # A delivery file the encode finished while the frames' way to it failed cannot be trusted.
    [ "${status[2]}" != 0 ] || rm -f "$out"
    exit 1
fi
if [ "$keepChunks" != true ]; then
    for ((chunk = 0; chunk < chunks; ++chunk)); do
        rm -f "$work/$(farmName "$chunk")".{mkv,done}
    done
fi
