#!/usr/bin/env bash
# Every data file of the runnable folder missing, cut in half and replaced by random bytes, one
# at a time, in a copy of the folder. Each case runs the show's own start-up and draws a frame
# headless through capture (meant for the build under AddressSanitizer and
# UndefinedBehaviorSanitizer): a fault that ends the show must end it with its own message and
# status, one that the show survives (a model) must leave the frame drawn, and no case may
# bring a sanitizer report. Then, where the show is meant to go on, the demo itself in a real
# X window (Xvfb) plays on and Escape ends it with status 0.
#
# What start-up does with each file:
#   a texture     "Image file error: <file>;" and the show ends (capture: status 1)
#   a shader      the compile log or "Could not open <file>.", then "Shader compile error.",
#                 status 1
#   the soundtrack "Sound error.", status 1; cut in half, it opens and the show goes on
#   a model       "Model file error: <file>: ..." (nothing when it is missing); the show goes
#                 on without it
# Prints one line a case with its time, and the total.
# Usage: fault_matrix_test.sh <capture> [<demo>]   (both in the same runnable folder)
set -u
capture=$1
demo=${2:-}
here=$(dirname "$0")
. "$here/fault_matrix.sh"
. "$here/xvfb.sh"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

programs=(capture)
[ -n "$demo" ] && programs+=(demo)
makeFaultCopy "$(dirname "$capture")" "${programs[@]}" || fail "cannot copy the runnable folder"
trap 'rm -rf "$FAULT_WORK"' EXIT

failures=0
caseFailed() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The moment a model is on the screen: the credits model at 50 s, sculpture k of the carousel
# from 80 + 4k s (the middle of its four seconds); the others are loaded but drawn by no scene.
frameTimeFor() {
    case $1 in
        3d/soundtrackmoravelkint.3d) echo 50 ;;
        3d/g_[0-8].3d) local k=${1#3d/g_}; k=${k%.3d}; echo $((80 + 4 * k + 2)) ;;
        *) echo 12 ;;
    esac
}

# expected FILE FAULT: prints the status capture must end with and a fixed string its
# output must hold (empty: none is required).
expected() {
    case $1 in
        2d/*) echo "1|Image file error: $1;" ;;
        shaders/*) echo "1|Shader compile error." ;;
        demooooooo.ogg)
            # The first half of the file opens like the whole: the show plays on, and falls
            # silent where the stream runs out.
            if [ "$2" = truncated ]; then echo "0|"; else echo "1|Sound error."; fi ;;
        3d/*)
            if [ "$2" = missing ]; then echo "0|"; else echo "0|Model file error: $1: "; fi ;;
    esac
}

output=$FAULT_WORK/output.txt
frame=$FAULT_WORK/frame.png
cases=0
start=$(now)
while read -r file; do
    for fault in "${faultKinds[@]}"; do
        cases=$((cases + 1))
        applyFault "$COPY" "$file" "$fault"
        rm -f "$frame"
        began=$(now)
        timeout 120 "$COPY/capture" --time "$(frameTimeFor "$file")" --out "$frame" --size 16x16 >"$output" 2>&1
        status=$?
        restoreFile "$COPY" "$file"
        took=$(echo "$(now) - $began" | bc)
        IFS='|' read -r wantStatus wantText <<<"$(expected "$file" "$fault")"
        name="$file $fault"
        echo "$name: status $status, $took s"
        report=$(sanitizerReport "$output")
        if [ -n "$report" ]; then
            caseFailed "$name: sanitizer report: $report"
        elif [ "$status" != "$wantStatus" ]; then
            caseFailed "$name: status $status, expected $wantStatus"
        elif [ -n "$wantText" ] && ! grep -qF -- "$wantText" "$output"; then
            caseFailed "$name: no \"$wantText\" in the output"
        elif [ "$wantStatus" = 0 ] && [ ! -s "$frame" ]; then
            caseFailed "$name: the show went on but no frame was written"
        fi
        if [ "$status" != "$wantStatus" ] || [ -n "$report" ]; then sed 's/^/    /' "$output" | head -n 40; fi
    done
done < <(dataFiles "$COPY")
echo "$cases headless cases in $(echo "$(now) - $start" | bc) s"

# The show itself where it goes on: a model that cannot be loaded, each way, for a few
# seconds; and the soundtrack cut in half, which opens and plays until its stream runs out
# about halfway through the show, past that point. Each must come up, play on and end on
# Escape with status 0.
# windowOrEnd PID: the demo's window is up, or the demo has already ended without one.
windowOrEnd() { hasWindow demo || hasEnded "$1"; }

# playsOn FILE FAULT SECONDS
playsOn() {
    local name="demo, $1 $2, $3 s" pid status report
    applyFault "$COPY" "$1" "$2"
    "$COPY/demo" >"$output" 2>&1 &
    pid=$!
    waitFor 60 windowOrEnd $pid
    if ! hasWindow demo; then
        kill $pid 2>/dev/null
        wait $pid
        status=$?
        restoreFile "$COPY" "$1"
        caseFailed "$name: no window appeared (status $status)"
        sed 's/^/    /' "$output" | head -n 40
        return
    fi
    sleep "$3"
    if hasEnded $pid; then
        caseFailed "$name: the show ended by itself"
    else
        # The key can be lost while the window is still taking the focus: pressed until it lands.
        for attempt in 1 2 3 4 5; do
            xdotool windowfocus --sync "$(viewableWindow demo)" 2>/dev/null
            xdotool key Escape
            waitFor 2 hasEnded $pid && break
        done
        hasEnded $pid || { kill $pid 2>/dev/null; caseFailed "$name: Escape did not end the show"; }
    fi
    wait $pid
    status=$?
    restoreFile "$COPY" "$1"
    echo "$name: status $status"
    report=$(sanitizerReport "$output")
    [ -z "$report" ] || caseFailed "$name: sanitizer report: $report"
    [ "$status" = 0 ] || caseFailed "$name: ended with status $status"
    [ "$status" = 0 ] && [ -z "$report" ] || sed 's/^/    /' "$output" | head -n 40
}

if [ -n "$demo" ]; then
    startXvfb 320x180
    trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$FAULT_WORK"' EXIT
    export SDL_AUDIODRIVER=dummy   # no sound card needed; the device still plays in real time
    for fault in "${faultKinds[@]}"; do
        playsOn 3d/soundtrackmoravelkint.3d "$fault" 3
    done
    playsOn demooooooo.ogg truncated 65
fi

echo "all cases in $(echo "$(now) - $start" | bc) s"
[ $failures -eq 0 ] || fail "$failures of the cases failed"
echo "PASS"
