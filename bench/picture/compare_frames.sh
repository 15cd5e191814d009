#!/usr/bin/env bash
# How much a change moved the picture: renders the contact sheet's fifteen moments with two
# runnable folders (before and after the change, each with its own capture and shaders) and
# prints the PSNR of each frame of the second against the first, in dB ("inf" where they are
# identical). Above about 45 dB a viewer sees no difference.
#
#   compare_frames.sh BEFORE-FOLDER AFTER-FOLDER [WxH]     (default 640x360)
set -eu
before=$1
after=$2
size=${3:-640x360}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
times=(3 7 14 26 29 33.5 46 54 61 67 72 78 81.5 97 114.5)

render() {
    (cd "$1" && ./capture --time "$2" --out "$3" --size "$size" >/dev/null)
}

printf '%-8s %10s\n' "time s" "PSNR dB"
lowest=inf
for t in "${times[@]}"; do
    render "$before" "$t" "$work/before.png"
    render "$after" "$t" "$work/after.png"
    psnr=$(ffmpeg -hide_banner -nostats -i "$work/after.png" -i "$work/before.png" -lavfi psnr -f null - 2>&1 |
        sed -n 's/.*average:\([0-9.inf]*\).*/\1/p')
    printf '%-8s %10s\n' "$t" "$psnr"
    if [ "$psnr" != inf ] && { [ "$lowest" = inf ] || [ "$(echo "$psnr < $lowest" | bc)" = 1 ]; }; then
        lowest=$psnr
    fi
done
echo "lowest $lowest dB at $size"
