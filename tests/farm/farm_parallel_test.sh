#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The capture farm on GNU parallel's local job slots: the delivery file equals a single
# `capture --out` with the same options by framemd5 of video and audio, across the hand-over
# from the intro to the flash at 25 s, at a fractional rate into Matroska and with motion blur;
# a chunk killed partway or cut short is named and rendered again; a chunk that cannot be made
# is named and refused, and then no delivery file is made.
#   farm_parallel_test.sh SHOW    (SHOW: the runnable folder)
set -uo pipefail
. "$(dirname "$0")/farm_helpers.sh" "$1"
trap 'rm -rf "$work"' EXIT
cd "$show" || exit 1

# The plan at rates whose frame times are not whole milliseconds: whatever the chunk count, the
# chunks follow on frame by frame and hold all the video's frames, to the close of the show.
for fps in 60 60000/1001 24000/1001 144; do
    whole=$("$show/farm_plan" --chunks 1 --out x.mp4 --fps "$fps" | cut -d' ' -f3)
    for chunks in 2 7 500; do
        "$show/farm_plan" --chunks "$chunks" --out x.mp4 --fps "$fps" | awk -v whole="$whole" '
            $2 != next_ { exit 1 } { next_ = $2 + $3 } END { exit next_ != whole }' ||
            fail "plan of $chunks chunks at $fps fps: not $whole frames one after another"
    done
done

# Three chunks of 100 frames, the flash at 25 s inside the second.
"$capture" --out "$work/single.mp4" --size 96x54 --fps 30 --from 20 --to 30 >/dev/null 2>&1 || fail "single capture"
succeeds "farm over 20-30 s" "$farm" --engine parallel --chunks 3 --out "$work/farm.mp4" --size 96x54 --fps 30 \
    --from 20 --to 30 --keep-chunks
says "chunk list" "chunk 1: frames 700 to 799 (100)"
says "progress" "3 of 3 chunks done"
sameAsSingle "farm over 20-30 s" "$work/single.mp4" "$work/farm.mp4"

# 60000/1001 with a rate factor, into Matroska (FLAC sound): chunks of 199 and 200 frames.
"$capture" --out "$work/single.mkv" --size 96x54 --fps 60000/1001 --crf 30 --from 60 --to 70 >/dev/null 2>&1 ||
    fail "single capture at 60000/1001"
succeeds "farm at 60000/1001" "$farm" --engine parallel --chunks 3 --out "$work/farm-ntsc.mkv" --size 96x54 \
    --fps 60000/1001 --crf 30 --from 60 --to 70 --jobs 2
sameAsSingle "farm at 60000/1001" "$work/single.mkv" "$work/farm-ntsc.mkv"
[ ! -e "$work/farm-ntsc.farm/chunk-000.mkv" ] || fail "the chunks were kept without --keep-chunks"

# Motion blur: chunks of stacked frames join into the single capture's stacked video.
"$capture" --out "$work/single-blur.mp4" --size 96x54 --fps 30 --from 72 --to 73 --subframes 3 --shutter 0.75 \
    >/dev/null 2>&1 || fail "single capture with motion blur"
succeeds "farm with motion blur" "$farm" --engine parallel --chunks 2 --out "$work/farm-blur.mp4" --size 96x54 \
    --fps 30 --from 72 --to 73 --subframes 3 --shutter 0.75
sameAsSingle "farm with motion blur" "$work/single-blur.mp4" "$work/farm-blur.mp4"

# Killed partway: parallel's next try renders it, and the message names it.
faulty=$(faultyShow)
echo kill-once >"$work/fault"
rm -rf "$work/farm.farm" "$work/farm.mp4"
succeeds "farm with a chunk killed" "$farm" --engine parallel --chunks 3 --out "$work/farm.mp4" --size 96x54 \
    --fps 30 --from 20 --to 30 --retries 2 --keep-chunks --show "$faulty"
says "killed chunk" "chunk 1 (frames 700 to 799) failed"
sameAsSingle "farm with a chunk killed" "$work/single.mp4" "$work/farm.mp4"

# Cut short after it was made: the join finds it, names it and renders it again.
truncate -s 3000 "$work/farm.farm/chunk-001.mkv"
rm -f "$work/farm.mp4"
succeeds "join with a chunk cut short" "$(dirname "$farm")/farm-join.sh" "$work/farm.farm"
says "cut chunk" "chunk 1 (frames 700 to 799) is truncated"
sameAsSingle "join with a chunk cut short" "$work/single.mp4" "$work/farm.mp4"

# A chunk that cannot be made: refused, named, and no delivery file.
echo fail >"$work/fault"
refusedFarm() {
    local name=$1 message=$2
    shift 2
    rm -f "$work/farm.mp4"
    "$@" >"$work/out.txt" 2>&1 && fail "$name: status 0"
    grep -F 'capture-farm: chunk' "$work/out.txt"
    says "$name" "$message"
    if [ -e "$work/farm.mp4" ] || [ -e "$work/farm.partial.mp4" ]; then
        fail "$name: a delivery file was made"
    fi
}
rm -f "$work/farm.farm/chunk-001."*
refusedFarm "chunk failing every try" "chunk 1 (frames 700 to 799) failed" \
    "$farm" --engine parallel --chunks 3 --out "$work/farm.mp4" --size 96x54 --fps 30 --from 20 --to 30 \
    --retries 2 --keep-chunks --show "$faulty"
# Chunk 0's file and record in chunk 1's place: its frames are not chunk 1's.
cp "$work/farm.farm/chunk-000.mkv" "$work/farm.farm/chunk-001.mkv"
cp "$work/farm.farm/chunk-000.done" "$work/farm.farm/chunk-001.done"
refusedFarm "join with another chunk's file" "chunk 1 (frames 700 to 799) is made with other settings" \
    "$(dirname "$farm")/farm-join.sh" "$work/farm.farm"
says "join refusal" "nothing joined"

[ "$failures" -eq 0 ] && echo "capture farm on GNU parallel: all checks passed"
exit $((failures > 0))
