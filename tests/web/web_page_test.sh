#!/usr/bin/env bash
# The web build in headless chromium (SwiftShader), served from its folder as a web server would:
#   - moments drawn through "?t=T&size=480x270" match the native capture of the same moment;
#   - the samples the page hands to Web Audio match a native decode of the same file (by
#     ffmpeg, a decoder of its own): the same frame count and rate, and the same loudness over
#     every block of 4096 frames;
#   - the start screen, a click, a few seconds of playback with the audio clock advancing and
#     frames drawn, and Escape back to the start screen with the music stopped;
#   - a browser without WebGL2 gets a page that says so.
# Usage: web_page_test.sh WEB_FOLDER NATIVE_SHOW_FOLDER
set -euo pipefail
web=$(realpath "$1")
native=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
driver=$here/../../tools/web/drive_page.mjs
work=$(mktemp -d)
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web" >"$work/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do curl -sf "http://127.0.0.1:$port/index.html" >/dev/null && break; sleep 0.1; done
page=http://127.0.0.1:$port/index.html
status=0

# SwiftShader and llvmpipe filter textures and round transcendental functions differently, so
# the pictures differ in the last bits of fine texture detail: 36 to 49 dB here. A pass that
# goes wrong costs far more (output not sRGB-encoded: 11 dB; the neighbouring scene: 13 dB),
# so 30 dB separates the two. The fireworks (t = 70) differ more between the two software
# renderers (27 dB, their fine streaks filtered differently: 22 dB while llvmpipe read them
# compressed, which the web build never does), so they are held to 18 dB, which still fails a
# black, missing or misplaced picture.
moments=(5 30 40 100 70)
floors=(30 30 30 30 18)
timeout 600 node "$driver" moments "$page" "$work" 480x270 "${moments[@]}"
for i in "${!moments[@]}"; do
    t=${moments[$i]}
    (cd "$native" && timeout 300 ./capture --time "$t" --size 480x270 --out "$work/native-$t.png" >/dev/null)
    psnr=$(compare -metric PSNR "$work/web-$t.png" "$work/native-$t.png" null: 2>&1 || true)
    if awk -v p="$psnr" -v f="${floors[$i]}" 'BEGIN { exit !(p + 0 >= f) }'; then
        echo "moment $t: $psnr dB against the native capture (floor ${floors[$i]} dB)"
    else
        echo "moment $t: $psnr dB against the native capture, under the floor of ${floors[$i]} dB"
        status=1
    fi
done

timeout 300 node "$driver" audio "$page" "$work/audio.json"
ffmpeg -v error -i "$web/demooooooo.ogg" -f f32le -ac 2 "$work/native.f32"
python3 - "$work/audio.json" "$work/native.f32" "$web/demooooooo.ogg" <<'PY' || status=1
import array, json, math, subprocess, sys
page = json.load(open(sys.argv[1]))
native = array.array('f')
native.frombytes(open(sys.argv[2], 'rb').read())
rate = int(subprocess.run(['ffprobe', '-v', 'error', '-select_streams', 'a:0', '-show_entries',
                           'stream=sample_rate', '-of', 'csv=p=0', sys.argv[3]],
                          capture_output=True, text=True, check=True).stdout)
frames = len(native) // 2
problems = []
if page['rate'] != rate:
    problems.append(f"rate {page['rate']} Hz, the file's is {rate} Hz")
if page['frames'] != frames:
    problems.append(f"{page['frames']} frames, the native decode has {frames}")
block = page['block']
worst = 0.0
for channel in range(2):
    for k, rms in enumerate(page['rms'][channel]):
        samples = native[2 * k * block + channel:2 * min((k + 1) * block, frames):2]
        expected = math.sqrt(sum(x * x for x in samples) / len(samples)) if len(samples) else 0.0
        worst = max(worst, abs(expected - rms) / max(expected, 1e-3))
# Two decoders of one file agree to float rounding (1e-7 here); a lost, doubled, swapped or
# shifted block of samples changes its loudness by far more than 1e-4.
if worst > 1e-4:
    problems.append(f"block loudness differs by up to {worst:.2e} of the native decode's")
print(f"audio: {page['frames']} frames at {page['rate']} Hz; block loudness within {worst:.1e} of the native decode")
for problem in problems:
    print("audio: " + problem)
sys.exit(1 if problems else 0)
PY

timeout 300 node "$driver" play "$page" 4 || status=1
CHROMIUM_FLAGS=--disable-webgl2 timeout 120 node "$driver" refused "$page" "offers no WebGL2" || status=1
exit $status
