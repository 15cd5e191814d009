#!/usr/bin/env bash
# A long fuzzing run: every area's runner (fuzz/*/run.sh), or the areas named, for the same
# number of seconds each, then a check that each of its targets reached the wanted number of
# executions. CI's short run looks for shallow faults; this one is for before a release.
#   fuzz/long_run.sh [seconds-per-area] [area...]
# Seconds default to 3600; SHOW_FUZZ_MIN_EXECS (1000000 unless set) is the executions each
# target must reach. The runners' own settings pass through (SHOW_FUZZ_BUILD, SHOW_FUZZ_JOBS).
# Exits non-zero when a runner fails or a target falls short of the executions.
set -uo pipefail

seconds=${1:-3600}
shift $(($# > 0 ? 1 : 0))
minimum=${SHOW_FUZZ_MIN_EXECS:-1000000}
root=$(cd "$(dirname "$0")/.." && pwd)
areas=("$@")
if [ ${#areas[@]} -eq 0 ]; then
    for runner in "$root"/fuzz/*/run.sh; do
        areas+=("$(basename "$(dirname "$runner")")")
    done
fi

status=0
for area in "${areas[@]}"; do
    runner=$root/fuzz/$area/run.sh
    [ -f "$runner" ] || { echo "long_run: no runner $runner" >&2; status=1; continue; }
    log=$(mktemp)
    bash "$runner" "$seconds" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    # Each runner prints its targets' last progress line, "#<executions>: cov: ...".
    while read -r executions; do
        if [ "$executions" -lt "$minimum" ]; then
            echo "long_run: $area: a target ran $executions executions, under $minimum" >&2
            status=1
        else
            echo "long_run: $area: a target ran $executions executions"
        fi
    done < <(grep -E '^#[0-9]+: cov' "$log" | sed -E 's/^#([0-9]+):.*/\1/')
    grep -qE '^#[0-9]+: cov' "$log" || { echo "long_run: $area: no progress line" >&2; status=1; }
    rm -f "$log"
done
exit $status
