# shellcheck shell=bash disable=SC2034 # the settings are for the tests that source this
# What the farm's tests share: failure counting, the comparison with a single capture, and a
# runnable folder whose capture fails on purpose for one chunk.
#   . farm_helpers.sh SHOW    (SHOW: the runnable folder; sets capture, farm and work)

show=$(readlink -f "$1")
capture="$show/capture"
farm="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../../tools/farm/capture-farm"
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Prints the output of a command and fails when its status is not 0.
succeeds() {
    local name=$1
    shift
    "$@" >"$work/out.txt" 2>&1 || fail "$name: status $?: $(tail -n 5 "$work/out.txt")"
    cat "$work/out.txt"
}
says() { grep -qF -- "$2" "$work/out.txt" || fail "$1: no \"$2\" in: $(cat "$work/out.txt")"; }

# Every decoded frame and audio packet of video $2 against those of the single capture $1.
sameAsSingle() {
    local name=$1 single=$2 farmed=$3
    [ -f "$farmed" ] || { fail "$name: no delivery file"; return; }
    ffmpeg -v error -i "$single" -f framemd5 - | grep -v '^#' >"$work/single.md5"
    ffmpeg -v error -i "$farmed" -f framemd5 - | grep -v '^#' >"$work/farmed.md5"
    local video audio
    video=$(grep -c '^0,' "$work/single.md5")
    audio=$(grep -c '^1,' "$work/single.md5")
    if cmp -s "$work/single.md5" "$work/farmed.md5"; then
        echo "$name: equal to the single capture ($video frames, $audio audio packets)"
    else
        fail "$name: differs from the single capture: $(diff "$work/single.md5" "$work/farmed.md5" | head -n 3)"
    fi
    if [ "$video" -eq 0 ] || [ "$audio" -eq 0 ]; then
        fail "$name: the single capture has $video frames, $audio audio packets"
    fi
}

# A runnable folder whose capture is the real one, except for chunk 1 as $work/fault says:
# "kill-once" kills it partway through its first try, "fail" fails it at once, every time.
faultyShow() {
    mkdir -p "$work/faulty"
    ln -sf "$show/farm_plan" "$show/farm_encode" "$work/faulty/"
    cat >"$work/faulty/capture" <<WRAPPER
#!/usr/bin/env bash
frames=""
for ((i = 1; i < \$#; ++i)); do [ "\${!i}" = --frames ] && { next=\$((i + 1)); frames=\${!next}; }; done
case \$frames:\$(cat "$work/fault" 2>/dev/null) in
    *chunk-001.frames:fail) echo "capture: failing on purpose" >&2; exit 1 ;;
    *chunk-001.frames:kill-once)
        : >"$work/fault"
        "$capture" "\$@" &
        until compgen -G "\$frames/frame-*.png" >/dev/null; do sleep 0.05; done
        kill -KILL \$!
        wait \$!
        exit ;;
esac
exec "$capture" "\$@"
WRAPPER
    chmod +x "$work/faulty/capture"
    echo "$work/faulty"
}
