#!/usr/bin/env bash
# The whole show, start to end, drawn headless at a small size through capture (meant for the
# build under AddressSanitizer and UndefinedBehaviorSanitizer): every frame of every scene at
# 4 frames a second, down to the one on which the show closes itself at 116 s, with status 0,
# one PNG a frame and no sanitizer report. Prints how long it took.
# Usage: whole_show_sanitized_test.sh <capture>
set -u
capture=$1
here=$(dirname "$0")
. "$here/fault_matrix.sh"
fail() { echo "FAIL: $*"; exit 1; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# 64x36: small, so that the whole show under the sanitizers stays a matter of a minute or two.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
began=$(date +%s.%3N)
"$capture" --frames "$work/frames" --size 64x36 --fps 4 >"$work/output.txt" 2>&1
status=$?
echo "capture ended with status $status after $(echo "$(date +%s.%3N) - $began" | bc) s"
sed 's/^/  /' "$work/output.txt" | tail -n 5
report=$(sanitizerReport "$work/output.txt")
[ -z "$report" ] || { sed 's/^/  /' "$work/output.txt" | head -n 60; fail "sanitizer report: $report"; }
[ $status -eq 0 ] || fail "capture ended with status $status"

# Frame i is demo time i / 4; the last is the one on which the show closes, at 116 s.
frames=$(find "$work/frames" -name '*.png' | wc -l)
echo "$frames frames"
[ "$frames" -eq $((116 * 4 + 1)) ] || fail "$frames frames, expected $((116 * 4 + 1)) (0 s to 116 s at 4 a second)"
echo "PASS"
