#!/usr/bin/env bash
# Videos made by capture, checked with ffprobe and ffmpeg: frame and sound-sample counts at an
# integer and a fractional rate, for a part and for the whole show; a frame of a video against
# the still of the same moment; and each failure's message, with no complete-looking output
# left behind; frame stacking and the report at a video's end.
#   capture_video_test.sh <capture>
set -uo pipefail
capture=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { [ "$2" = "$3" ] || fail "$1: expected $3, got $2"; }

videoFrames() {
    ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$1"
}
# The sound track's length in samples as the container states it (time base 1/44100).
soundSamples() {
    local line
    line=$(ffprobe -v error -select_streams a:0 -show_entries stream=time_base,duration_ts -of csv=p=0 "$1")
    [ "${line%%,*}" = "1/44100" ] || { echo "time base ${line%%,*}"; return; }
    echo "${line#*,}"
}
decodedSamples() { echo $(($(ffmpeg -v error -i "$1" -map 0:a -f f32le -ac 2 - | wc -c) / 8)); }

# A part at 60 frames a second: [30, 31) holds frames 1800 to 1859, and exactly a second of sound.
"$capture" --out "$work/part.mp4" --from 30 --to 31 --size 64x36 >/dev/null || fail "part at 60 fps"
expect "frames at 60 fps" "$(videoFrames "$work/part.mp4")" 60
expect "sound at 60 fps" "$(soundSamples "$work/part.mp4")" 44100
streams=$(ffprobe -v error -show_entries stream=codec_name,pix_fmt -of csv=p=0 "$work/part.mp4")
[[ "$streams" == *"h264,yuv420p"* && "$streams" == *"aac"* ]] || fail "the .mp4 is not H.264 in yuv420p with AAC: $streams"

# At 60000/1001 into Matroska (lossless FLAC sound, so the decoded count is the stored count):
# frames 1799 to 1858, and 60 x 1001 / 60000 s = 44144.1 samples, rounded.
"$capture" --out "$work/part.mkv" --from 30 --to 31 --size 64x36 --fps 60000/1001 >/dev/null || fail "part at 59.94"
expect "frames at 60000/1001" "$(videoFrames "$work/part.mkv")" 60
expect "sound at 60000/1001" "$(decodedSamples "$work/part.mkv")" 44144

# The whole show, tiny and at 2 frames a second (the tunnel's vertices cost the same at any
# size): every frame up to the one at 116 s on which the show closes itself, 233 of them, and
# the sound cut to the same 116.5 s, 5137650 samples, decoded from lossless FLAC.
# Its standard error is a file, not a terminal: a progress line at each further 5 % of the 233
# frames, 20 in all, each naming the frame, the rate and (but the last) the time left.
"$capture" --out "$work/whole.mkv" --size 16x16 --fps 2 --crf 40 >/dev/null 2>"$work/progress.txt" ||
    fail "whole show"
expect "frames of the whole show" "$(videoFrames "$work/whole.mkv")" 233
expect "sound of the whole show" "$(decodedSamples "$work/whole.mkv")" 5137650
progress=$(grep -c '^capture: [0-9]*%, frame [0-9]* of 233, [0-9.]* frames/s' "$work/progress.txt")
expect "progress lines in a log" "$progress" 20
expect "last progress line" "$(grep '^capture: ' "$work/progress.txt" | tail -n 1 | sed 's/, [0-9.]* frames.*//')" \
    "capture: 100%, frame 233 of 233"
[ "$(grep -c ' left$' "$work/progress.txt")" = 19 ] || fail "progress lines without the time left"
grep -q $'\r' "$work/progress.txt" && fail "a terminal's carriage returns in a log"

# A frame as PNG in a folder of frames is the still of the same moment, to the bit; the same
# frame in a video is that picture up to the encoder's loss.
"$capture" --frames "$work/frames" --from 45 --to 45.03 --size 160x90 >/dev/null || fail "frames"
"$capture" --time 45 --out "$work/still.png" --size 160x90 >/dev/null || fail "still"
expect "frames written" "$(ls "$work/frames" | tr '\n' ' ')" "frame-002700.png frame-002701.png "
cmp -s "$work/frames/frame-002700.png" "$work/still.png" || fail "frame 2700 differs from the still at 45 s"
"$capture" --out "$work/near-lossless.mkv" --from 45 --to 45.01 --size 160x90 --crf 0 >/dev/null ||
    fail "near-lossless video"
psnr=$(ffmpeg -v info -i "$work/near-lossless.mkv" -i "$work/still.png" -lavfi "[0:v][1:v]psnr" -f null - 2>&1 |
    sed -n 's/.*PSNR.*average:\([0-9.inf]*\).*/\1/p')
awk -v p="$psnr" 'BEGIN { exit !(p == "inf" || p + 0 >= 35) }' || fail "video frame against the still: PSNR $psnr dB"

# Frame stacking: a stacked frame in a folder of frames is the stacked still of the same moment,
# to the bit, and differs from the frame without blur; a video ends with its report.
"$capture" --frames "$work/stacked" --from 72 --to 72.01 --size 96x54 --subframes 3 >/dev/null ||
    fail "stacked frames"
"$capture" --time 72 --out "$work/stacked.png" --size 96x54 --subframes 3 >/dev/null || fail "stacked still"
"$capture" --time 72 --out "$work/sharp.png" --size 96x54 >/dev/null || fail "sharp still"
cmp -s "$work/stacked/frame-004320.png" "$work/stacked.png" || fail "stacked frame 4320 differs from the stacked still"
cmp -s "$work/stacked.png" "$work/sharp.png" && fail "three sub-frames drew the frame without blur"
grep -q "fit for a party's stream" <("$capture" --out "$work/reported.mp4" --from 30 --to 30.5 --size 64x36) ||
    fail "a video without its report"

# Failures: the message, a status other than 0, and no file that looks complete.
refused() {
    local name=$1 message=$2 output=$3
    shift 3
    local status=0
    "$@" >"$work/out.txt" 2>&1 || status=$?
    [ "$status" -ne 0 ] || fail "$name: status 0"
    grep -q -- "$message" "$work/out.txt" || fail "$name: no \"$message\" in: $(cat "$work/out.txt")"
    [ ! -e "$output" ] || fail "$name: $output was left"
    [ ! -e "${output%.*}.partial.${output##*.}" ] || fail "$name: the partial file was left"
}
mkdir -p "$work/nothing"
refused "no ffmpeg" "install ffmpeg" "$work/x.mp4" env PATH="$work/nothing" "$capture" --out "$work/x.mp4" --to 1
refused "unwritable output" "cannot write" "$work/absent/x.mp4" "$capture" --out "$work/absent/x.mp4" --to 1
refused "bad rate" "--fps" "$work/x.mp4" "$capture" --out "$work/x.mp4" --fps 29.97
refused "container ffmpeg refuses" "ffmpeg" "$work/x.nosuchformat" "$capture" --out "$work/x.nosuchformat" --to 0.1 \
    --size 32x18
refused "empty range" "no frame" "$work/x.mp4" "$capture" --out "$work/x.mp4" --from 120 --to 130

# Ctrl-C while it runs: status 130, and the unfinished video is gone.
"$capture" --out "$work/cut.mp4" --from 30 --to 60 --size 64x36 >/dev/null 2>"$work/cut.txt" &
pid=$!
for _ in $(seq 100); do
    [ -e "$work/cut.partial.mp4" ] && break
    sleep 0.1
done
sleep 0.5
kill -INT "$pid"
status=0
wait "$pid" || status=$?
expect "status after Ctrl-C" "$status" 130
grep -q "interrupted" "$work/cut.txt" || fail "no message after Ctrl-C: $(cat "$work/cut.txt")"
[ ! -e "$work/cut.mp4" ] && [ ! -e "$work/cut.partial.mp4" ] || fail "Ctrl-C left a video behind"

[ "$failures" -eq 0 ] && echo "capture videos: all checks passed"
exit $((failures > 0))
