#!/usr/bin/env bash
# Runs the asset fuzz targets for a bounded time each, from a seed corpus made afresh.
#   fuzz/assets/run.sh <seconds-per-target>
# Builds nothing: expects the targets built with the fuzz preset, in build/fuzz (or in the
# folder named by SHOW_FUZZ_BUILD). Exits non-zero when a target finds a crash in our code.
# A crash inside stb_image itself (third-party) is reported with its input, and does not
# fail the run.
set -uo pipefail

seconds=${1:?usage: fuzz/assets/run.sh <seconds-per-target>}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${SHOW_FUZZ_BUILD:-$root/build/fuzz}
bin=$build/fuzz/assets
for target in assets_model_fuzz assets_image_fuzz assets_fuzz_seeds; do
    if [ ! -x "$bin/$target" ]; then
        echo "fuzz/assets: $bin/$target is not built (cmake --preset fuzz && cmake --build build/fuzz --target $target)" >&2
        exit 2
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/assets_fuzz_seeds" "$work/seeds" || exit 2

status=0
# The location a sanitizer report blames: its "runtime error" line, or else the first stack
# frame that names one of our or stb's sources.
blamed_location() {
    grep -m1 -E 'runtime error|^ +#[0-9]+ .* in .*(/src/|/fuzz/|stb_image\.h)' "$1"
}

run_target() {
    local target=$1 seeds=$2 max_len=$3
    local corpus=$work/corpus-$target artifacts=$work/artifacts-$target/
    mkdir -p "$corpus" "$artifacts"
    echo "fuzz/assets: $target for ${seconds}s"
    # Fork mode with crashes ignored keeps fuzzing past a third-party crash; every crash
    # input is examined afterwards.
    "$bin/$target" -fork=1 -ignore_crashes=1 -max_total_time="$seconds" -max_len="$max_len" \
        -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$artifacts" "$corpus" "$seeds" \
        >"$work/$target.log" 2>&1
    grep -E '^#[0-9]+: cov' "$work/$target.log" | tail -n 1
    local input where seen=""
    for input in "$artifacts"crash-* "$artifacts"leak-* "$artifacts"timeout-* "$artifacts"oom-*; do
        [ -e "$input" ] || continue
        if "$bin/$target" "$input" >"$input.log" 2>&1; then
            # It crashed inside the fuzzing run but not alone: the report stands in that run's
            # log, with nothing to tie it to this input.
            echo "fuzz/assets: $target: $(basename "$input") does not fail on its own; the run's reports:" >&2
            grep -E 'runtime error|ERROR: ' "$work/$target.log" | sort | uniq -c | sed 's/^/fuzz\/assets:   /' >&2
            grep -E 'runtime error' "$work/$target.log" | grep -qv 'stb_image\.h' && status=1
            continue
        fi
        where=$(blamed_location "$input.log" | sed -E 's/^ +#[0-9]+ 0x[0-9a-f]+ //')
        echo "$where" | grep -q 'stb_image\.h' || status=1
        # One report per place; further inputs that fail in the same place are only counted.
        if printf '%s\n' "$seen" | grep -qxF "$where"; then
            echo "fuzz/assets: $target: $(basename "$input") fails at the same place again" >&2
            continue
        fi
        seen=$(printf '%s\n%s' "$seen" "$where")
        echo "fuzz/assets: $target: crash input $(basename "$input")" >&2
        echo "fuzz/assets:   at: ${where:-unknown}" >&2
        echo "fuzz/assets:   input (base64): $(base64 -w0 "$input")" >&2
        if echo "$where" | grep -q 'stb_image\.h'; then
            echo "fuzz/assets:   inside stb_image (third-party): recorded, not failing the run" >&2
        fi
    done
}

run_target assets_model_fuzz "$work/seeds/model" 65536
run_target assets_image_fuzz "$work/seeds/image" 16384
exit $status
