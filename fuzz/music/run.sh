#!/usr/bin/env bash
# Runs the music fuzz target for a bounded time, from a seed corpus made afresh.
#   fuzz/music/run.sh <seconds>
# Builds nothing: expects the targets built with the fuzz preset, in build/fuzz (or in the
# folder named by SHOW_FUZZ_BUILD). SHOW_FUZZ_JOBS sets how many fuzzing processes run at once
# (1 unless set); SHOW_FUZZ_KEEP=1 keeps the work folder (corpus, crash inputs, log). Exits
# non-zero when the target finds a crash in our code. A crash inside stb_vorbis itself
# (third-party) is reported with its input, and does not fail the run.
set -uo pipefail

seconds=${1:?usage: fuzz/music/run.sh <seconds>}
jobs=${SHOW_FUZZ_JOBS:-1}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${SHOW_FUZZ_BUILD:-$root/build/fuzz}
bin=$build/fuzz/music
for target in music_stream_fuzz music_fuzz_seeds; do
    if [ ! -x "$bin/$target" ]; then
        echo "fuzz/music: $bin/$target is not built (cmake --preset fuzz && cmake --build build/fuzz --target $target)" >&2
        exit 2
    fi
done

work=$(mktemp -d)
[ -n "${SHOW_FUZZ_KEEP:-}" ] && echo "fuzz/music: keeping $work" >&2 || trap 'rm -rf "$work"' EXIT
"$bin/music_fuzz_seeds" "$work/seeds" || exit 2
# A second encoder's file, when ffmpeg is there: its own codebooks, floors and residues (its
# encoder writes stereo only).
if command -v ffmpeg >/dev/null; then
    ffmpeg -v error -f lavfi -i "sine=frequency=330:sample_rate=44100:duration=0.2" -ac 2 \
        -c:a vorbis -strict experimental "$work/seeds/ffmpeg-stereo.ogg" ||
        echo "fuzz/music: ffmpeg made no seed" >&2
fi
# Inputs that once failed, kept in the repository so that they never fail again.
cp "$root"/fuzz/music/regressions/* "$work/seeds/" 2>/dev/null

# The location a sanitizer report blames: its "runtime error" line, or else the first stack
# frame at a line of one of our or stb_vorbis's sources (not merely in a binary under fuzz/).
blamed_location() {
    grep -m1 -E 'runtime error|^ +#[0-9]+ .* in .* [^ ]*(/src/[^ ]*|/fuzz/[^ ]*|stb_vorbis\.h):[0-9]+' "$1"
}

# One leak inside stb_vorbis is known and left out (see lsan.supp); any other fails the input.
export LSAN_OPTIONS=suppressions=$root/fuzz/music/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}

target=music_stream_fuzz
corpus=$work/corpus artifacts=$work/artifacts/
mkdir -p "$corpus" "$artifacts"
echo "fuzz/music: $target for ${seconds}s, $jobs job(s)"
# Fork mode with crashes ignored keeps fuzzing past a third-party crash; every crash input is
# examined afterwards.
"$bin/$target" -fork="$jobs" -ignore_crashes=1 -max_total_time="$seconds" -max_len=32768 \
    -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$artifacts" "$corpus" "$work/seeds" \
    >"$work/$target.log" 2>&1
grep -E '^#[0-9]+: cov' "$work/$target.log" | tail -n 1

status=0
seen=""
for input in "$artifacts"crash-* "$artifacts"leak-* "$artifacts"timeout-* "$artifacts"oom-*; do
    [ -e "$input" ] || continue
    if "$bin/$target" "$input" >"$input.log" 2>&1; then
        # It failed inside the fuzzing run but not alone: the report stands in that run's log,
        # with nothing to tie it to this input.
        echo "fuzz/music: $(basename "$input") does not fail on its own; the run's reports:" >&2
        grep -E 'runtime error|ERROR: ' "$work/$target.log" | sort | uniq -c | sed 's/^/fuzz\/music:   /' >&2
        grep -E 'runtime error' "$work/$target.log" | grep -qv 'stb_vorbis\.h' && status=1
        continue
    fi
    where=$(blamed_location "$input.log" | sed -E 's/^ +#[0-9]+ 0x[0-9a-f]+ //')
    echo "$where" | grep -q 'stb_vorbis\.h' || status=1
    # One report per place (file and line, whatever values the report quotes); further inputs
    # that fail in the same place are only counted.
    place=$(echo "$where" | grep -oE '[^ ]+:[0-9]+' | head -n 1)
    place=${place:-$where}
    if printf '%s\n' "$seen" | grep -qxF "$place"; then
        echo "fuzz/music: $(basename "$input") fails at the same place again" >&2
        continue
    fi
    seen=$(printf '%s\n%s' "$seen" "$place")
    echo "fuzz/music: crash input $(basename "$input")" >&2
    echo "fuzz/music:   at: ${where:-unknown}" >&2
    echo "fuzz/music:   input (base64): $(base64 -w0 "$input")" >&2
    if echo "$where" | grep -q 'stb_vorbis\.h'; then
        echo "fuzz/music:   inside stb_vorbis (third-party): recorded, not failing the run" >&2
    fi
done
exit $status
