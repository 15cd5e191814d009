# shellcheck shell=bash
# shellcheck disable=SC2034 # the settings and the plan's fields are for the scripts that source this
# What the farm's steps share: the work folder's layout and the check of a finished chunk.
#
# The work folder lies beside the delivery file (show.mp4 -> show.farm/) and is the farm's only
# shared state, so every step can run on any machine that sees it at the same path:
#   farm.conf          the run's settings (written by capture-farm, read by every step)
#   plan.txt           one line a chunk: CHUNK FIRST COUNT FROM TO (see farm_plan)
#   chunk-K.mkv        chunk K's frames, lossless (FFV1), K written with three digits
#   chunk-K.done       its record: FIRST COUNT SIZE FPS BYTES SHA256 SUBFRAMES SHUTTER, written
#                      once it is whole
#   chunk-K.log        capture's own progress and messages for the chunk
#   chunk-K.failed     why the chunk's last try failed, until a try succeeds
#   join.log           the join's messages

# The run's settings, as loadFarm reads them, and the chunk that planOf looks up.
showDir="" out="" size="" fps="" from="" to="" crf="" subframes=1 shutter=0.5 chunks="" keepChunks=""
first="" count="" chunkFrom="" chunkTo=""

farmName() { printf 'chunk-%03d' "$1"; }

# Reads farm.conf from work folder $1 into the caller's variables (showDir, out, size, fps,
# from, to, crf, subframes, shutter, chunks, keepChunks).
loadFarm() {
    work=$1
    [ -f "$work/farm.conf" ] || { echo "capture-farm: $work holds no farm.conf" >&2; return 1; }
    # shellcheck source=/dev/null # written by capture-farm
    . "$work/farm.conf"
}

# Sets first, count, chunkFrom and chunkTo for chunk $1 from the plan.
planOf() {
    local line
    line=$(awk -v k="$1" '$1 == k' "$work/plan.txt")
    [ -n "$line" ] || { echo "capture-farm: chunk $1 is not in $work/plan.txt" >&2; return 1; }
    read -r _ first count chunkFrom chunkTo <<<"$line"
}

# "chunk 1 (frames 600 to 899)": how every message names a chunk.
chunkLabel() { echo "chunk $1 (frames $first to $((first + count - 1)))"; }

# Prints what is wrong with chunk $1 (after planOf for it), or nothing when it is whole: there,
# made with this run's settings, holding exactly its frames, and not cut or changed since.
chunkProblem() {
    local name file record probe
    name=$(farmName "$1")
    file="$work/$name.mkv"
    [ -f "$file" ] || { echo "missing"; return; }
    [ -f "$work/$name.done" ] || { echo "unfinished (no record)"; return; }
    read -r -a record <"$work/$name.done"
    local expected=("$first" "$count" "$size" "$fps")
    [ "${record[*]:0:4}" = "${expected[*]}" ] ||
        { echo "made with other settings (frames from ${record[0]:-?}, ${record[1]:-?} of them, ${record[2]:-?} at ${record[3]:-?} fps)"; return; }
    [ "$(stat -c %s "$file")" = "${record[4]:-}" ] || { echo "truncated or changed (its size is not the recorded one)"; return; }
    [ "$(sha256sum <"$file" | cut -d' ' -f1)" = "${record[5]:-}" ] || { echo "changed since it was made (checksum)"; return; }
    [ "${record[*]:6:2}" = "$subframes $shutter" ] ||
        { echo "made with other motion blur (${record[6]:-?} sub-frames, shutter ${record[7]:-?})"; return; }
    probe=$(ffprobe -v error -count_packets -select_streams v:0 \
        -show_entries stream=codec_name,width,height,nb_read_packets -of csv=p=0 "$file" 2>&1)
    [ "$probe" = "ffv1,${size%x*},${size#*x},$count" ] || { echo "not $count FFV1 frames of $size: $probe"; return; }
}

# Chunks with a record, of all in the plan (a cheap count: the join checks them fully).
chunksDone() { find "$work" -maxdepth 1 -name 'chunk-*.done' | wc -l; }

# While process $1 runs, prints "K of N chunks done" each time K grows, with the time left
# judged from the chunks done since the watch began.
watchChunks() {
    local pid=$1 begin=$SECONDS start finished shown left
    start=$(chunksDone)
    shown=$start
    while kill -0 "$pid" 2>/dev/null; do
        sleep 1
        finished=$(chunksDone)
        [ "$finished" -gt "$shown" ] || continue
        shown=$finished
        left=""
        if [ "$finished" -lt "$chunks" ] && [ "$finished" -gt "$start" ]; then
            left=", about $(((SECONDS - begin) * (chunks - finished) / (finished - start))) s left"
        fi
        echo "capture-farm: $finished of $chunks chunks done$left"
    done
}

# Names each chunk that is not whole, with the reason its last try gave; true when there was one.
reportUnfinished() {
    local chunk name any=1
    for ((chunk = 0; chunk < chunks; ++chunk)); do
        planOf "$chunk" || continue
        name=$(farmName "$chunk")
        [ -n "$(chunkProblem "$chunk")" ] || continue
        any=0
        if [ -f "$work/$name.failed" ]; then
            echo "capture-farm: $(chunkLabel "$chunk") failed: $(cat "$work/$name.failed")" >&2
        else
            echo "capture-farm: $(chunkLabel "$chunk") did not finish (see $work/$name.log)" >&2
        fi
    done
    return $any
}
