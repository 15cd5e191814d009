#!/usr/bin/env bash
# Measures the show's speed on this machine and writes the figures as the table in
# docs/speed.md, between its two marker lines (the prose around them is left as it is).
# It runs the benches that exist for each figure, each as a user would run it alone:
#   show_bench            each scene's frame time at 640x360 and 1280x720, start-up cold and warm
#   capture               the video tools/play.sh makes where there is no display (480x270, 30 fps)
#   capture_bench         capture's throughput to H.264 against rendering alone
#   wine_startup_bench.sh the win64 build's start-up under wine (when build/win64 is built)
#   drive_page.mjs play   the web page's frame rate in headless chromium (when build/web is built)
# A figure whose build or tool is missing gets a row that says so. Four to six minutes on a
# two-core machine, most of it the whole show's video; --quick takes fewer frames and rounds and
# a stretch of the video instead of the whole show (about a minute and a half).
# Usage: bench/write-speed-table.sh [--quick]     (from anywhere; build the linux preset first)
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
case "${1:-}" in
"") ;;
--quick) quick=true ;;
*)
    echo "usage: bench/write-speed-table.sh [--quick]" >&2
    exit 2
    ;;
esac

page=docs/speed.md
begin='<!-- speed table: written by bench/write-speed-table.sh, renewed by running it -->'
end='<!-- end of the speed table -->'
bench=build/linux/bench
show=build/linux/show
for program in "$bench/show/show_bench" "$bench/capture/capture_bench" "$show/capture"; do
    [ -x "$program" ] || {
        echo "write-speed-table: no $program: build the linux preset first" >&2
        exit 1
    }
done
if ! grep -qxF "$begin" "$page" || ! grep -qxF "$end" "$page"; then
    echo "write-speed-table: $page has lost its marker lines" >&2
    exit 1
fi

if $quick; then
    framesPerScene=5 captureSeconds=1 wineRuns=1 webSeconds=4 videoFrom=40 videoTo=50
else
    framesPerScene=20 captureSeconds=2 wineRuns=3 webSeconds=10 videoFrom=0 videoTo=140
fi

# Other work on the machine slows every figure: the load at the start and at the end goes into
# the table.
loadAtStart=$(cut -d' ' -f1 /proc/loadavg)
work=$(mktemp -d)
serverPid=
cleanUp() {
    [ -z "$serverPid" ] || kill "$serverPid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanUp EXIT
rows=$work/rows
say() { echo "write-speed-table: $*" >&2; }
row() { printf '| %s | %s | %s |\n' "$1" "$2" "$3" >>"$rows"; }
seconds() { awk -v ms="$1" 'BEGIN { printf "%.2f s", ms / 1000 }'; }

# --- show_bench: frame times per scene and the start-up -------------------------------------
say "show_bench, $framesPerScene frames per scene"
(cd "$show" && ../bench/show/show_bench "$framesPerScene") >"$work/show_bench.txt"
renderer=$(sed -n 's/^renderer: //p' "$work/show_bench.txt" | head -n 1)
# One line per scene and size: "size<TAB>scene<TAB>mean<TAB>worst<TAB>fps"; the start-up as
# "startup<TAB>cold|warm<TAB>ms".
awk '
    /^[0-9]+x[0-9]+$/ { size = $0; cold = 0 }
    /^start-up, empty shader cache:/ { cold = 1 }
    /^  start to first frame/ { if (size == "640x360") printf "startup\t%s\t%s\n", cold ? "cold" : "warm", $(NF - 1) }
    match($0, /^[a-z][a-z ]*[a-z] +[0-9.]+ +[0-9.]+ +[0-9.]+ \|/) {
        line = substr($0, 1, RLENGTH - 1)
        sub(/ +$/, "", line)
        n = split(line, f, / +/)
        name = f[1]; for (i = 2; i <= n - 3; ++i) name = name " " f[i]
        printf "%s\t%s\t%s\t%s\t%s\n", size, name, f[n - 2], f[n - 1], f[n]
    }' "$work/show_bench.txt" >"$work/show_bench.tsv"
if [ "$(grep -vc '^startup' "$work/show_bench.tsv")" -lt 10 ] || [ -z "$renderer" ]; then
    cat "$work/show_bench.txt" >&2
    say "show_bench printed no scene table this script can read"
    exit 1
fi
showBench="\`cd build/linux/show && ../bench/show/show_bench $framesPerScene\`"
while IFS=$'\t' read -r size name mean worst fps; do
    [ "$size" = 640x360 ] || continue
    large=$(awk -F'\t' -v name="$name" '$1 == "1280x720" && $2 == name { print $3 }' "$work/show_bench.tsv")
    ratio=$(awk -v a="$large" -v b="$mean" 'BEGIN { printf "%.1f", a / b }')
    row "The $name: a frame at 640x360" \
        "$mean ms mean, $worst ms worst ($fps frames a second); at 1280x720 $large ms, $ratio times as long" \
        "$showBench"
done <"$work/show_bench.tsv"
warm=$(awk -F'\t' '$1 == "startup" && $2 == "warm" { print $3 }' "$work/show_bench.tsv")
cold=$(awk -F'\t' '$1 == "startup" && $2 == "cold" { print $3 }' "$work/show_bench.tsv")
row "Start-up to the first frame, Mesa's shader cache warm" "$(seconds "$warm")" "$showBench (each step)"
row "Start-up to the first frame, shader cache empty (a first run)" "$(seconds "$cold")" "$showBench (each step)"

# --- the no-display video of tools/play.sh ----------------------------------------------------
if command -v ffmpeg >/dev/null; then
    say "capture: the 480x270 video from $videoFrom s to $videoTo s"
    # capture prints its own figures: "PATH: N frames of WxH (S s of the show) in T s, R frames/s".
    "$show/capture" --out "$work/video.mp4" --size 480x270 --fps 30 --from "$videoFrom" --to "$videoTo" \
        2>/dev/null >"$work/video.txt"
    rm -f "$work/video.mp4"
    figure=$(sed -n 's/.*: \([0-9]*\) frames of .* in \([0-9.]*\) s, \([0-9.]*\) frames\/s.*/\2 s for \1 frames, \3 frames a second/p' \
        "$work/video.txt")
    if $quick; then
        what="The video \`bash tools/play.sh\` makes without a display (480x270, 30 frames a second, with sound), $videoFrom s to $videoTo s of the show"
    else
        what="The video \`bash tools/play.sh\` makes without a display (480x270, 30 frames a second, with sound), the whole show"
    fi
    row "$what" "${figure:-not measured: capture printed no figures}" "\`build/linux/show/capture --out show.mp4 --size 480x270 --fps 30\` (it prints the figures)"
else
    row "The video \`bash tools/play.sh\` makes without a display" "not measured: no ffmpeg here" "capture"
fi

# --- capture_bench: capture's throughput ------------------------------------------------------
say "capture_bench, $captureSeconds s of the show"
if (cd "$show" && ../bench/capture/capture_bench "$captureSeconds") >"$work/capture_bench.txt" 2>&1; then
    awk '
        /^[0-9]+x[0-9]+,/ { split($1, s, ","); size = s[1] }
        /frames\/s/ {
            for (i = 1; i <= NF; ++i) if ($i == "frames/s") rate = $(i - 1)
            if ($1 == "render") floor[size] = rate; else if ($1 == "video") video[size] = rate
            if (!(size in seen)) { seen[size] = 1; order[++n] = size }
        }
        END { for (i = 1; i <= n; ++i) printf "%s\t%s\t%s\n", order[i], video[order[i]], floor[order[i]] }
    ' "$work/capture_bench.txt" >"$work/capture_bench.tsv"
    while IFS=$'\t' read -r size video floor; do
        row "\`capture\` to an H.264 video with sound at $size, from 45 s at 60 frames a second" \
            "$video frames a second (rendering and reading back alone: $floor)" \
            "\`cd build/linux/show && ../bench/capture/capture_bench $captureSeconds\`"
    done <"$work/capture_bench.tsv"
else
    cat "$work/capture_bench.txt" >&2
    row "\`capture\` to an H.264 video" "not measured: capture_bench failed (needs ffmpeg)" "capture_bench"
fi

# --- the win64 build under wine ---------------------------------------------------------------
wineBench="\`bash tests/app/wine_startup_bench.sh build/win64/startup_bench.exe build/win64/show $wineRuns\`"
if [ -f build/win64/startup_bench.exe ] && [ -d build/win64/show ] && command -v wine >/dev/null &&
    command -v Xvfb >/dev/null; then
    say "the win64 start-up under wine, $wineRuns runs"
    bash tests/app/wine_startup_bench.sh build/win64/startup_bench.exe build/win64/show "$wineRuns" \
        >"$work/wine.txt" 2>/dev/null
    # The median of a step in the block that follows HEADER.
    wineStep() {
        awk -v header="$1" -v step="$2" '
            index($0, header) == 1 { inside = 1; next }
            /^[a-z]/ { inside = 0 }
            inside && index($0, "  " step " ") == 1 { print $(NF - 1) }' "$work/wine.txt"
    }
    row "The win64 build under wine: the process's start to its first frame" \
        "$(seconds "$(wineStep "wine started for each run" "process start to first frame")")" "$wineBench"
    row "The win64 build under wine: launching wine to the first frame (of which wine's own start before the program's)" \
        "$(seconds "$(wineStep "wine started for each run" "launch to first frame")") ($(seconds "$(wineStep "wine started for each run" "launch to process start")"))" \
        "$wineBench"
    row "The same with wine already running (a second start)" \
        "$(seconds "$(wineStep "wine already up" "launch to first frame")")" "$wineBench"
else
    row "The win64 build's start-up under wine" \
        "not measured in this run: build the win64 preset (and install wine and Xvfb) first" "$wineBench"
fi

# --- the web page in headless chromium --------------------------------------------------------
webDrive="\`node tools/web/drive_page.mjs play URL SECONDS WxH\`"
if [ -f build/web/show/index.html ] && command -v node >/dev/null && command -v chromium >/dev/null; then
    port=$((20000 + RANDOM % 20000))
    python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/show >/dev/null 2>&1 &
    serverPid=$!
    for _ in $(seq 50); do
        curl -sf "http://127.0.0.1:$port/" >/dev/null 2>&1 && break
        sleep 0.2
    done
    for size in 480x270 800x600 1920x1080; do
        # The largest size draws under a frame a second: it gets twice the time.
        seconds=$webSeconds
        [ "$size" != 1920x1080 ] || seconds=$((2 * webSeconds))
        say "the web page at $size, $seconds s"
        # drive_page fails a run with fewer than two frames, but still prints what it saw.
        played=$(node tools/web/drive_page.mjs play "http://127.0.0.1:$port/" "$seconds" "$size" 2>&1) || say "$played"
        figure=$(sed -n 's/^played \([0-9.]*\) s at [0-9x]*: \([0-9]*\) frames (\([0-9.]*\) a second).*/\3 frames a second (\2 frames in \1 s)/p' \
            <<<"$played" | tail -n 1)
        row "The web page in headless chromium on SwiftShader (no GPU) at $size" \
            "${figure:-not measured: the page did not play}" "$webDrive"
    done
    kill "$serverPid" 2>/dev/null || true
    serverPid=
    kb() { awk -v b="$1" 'BEGIN { printf "%.0f kB", b / 1000 }'; }
    mb() { awk -v b="$1" 'BEGIN { printf "%.1f MB", b / 1000000 }'; }
    bytes() { cat "$@" | wc -c; }
    web=build/web/show
    pageBytes=$(bytes "$web/index.html" "$web/index.js" "$web/index.wasm")
    gzipped=$(cat "$web/index.html" "$web/index.js" "$web/index.wasm" | gzip -9 | wc -c)
    total=$(find "$web" -type f -print0 | xargs -0 cat | wc -c)
    sound=$(bytes "$web"/*.ogg)
    row "The web folder to publish, \`build/web/show\`" \
        "$(mb "$total"): the page $(mb "$pageBytes") (\`index.js\` $(kb "$(bytes "$web/index.js")"), \`index.wasm\` $(kb "$(bytes "$web/index.wasm")"); $(kb "$gzipped") gzipped), the data the rest (the soundtrack $(mb "$sound"))" \
        "file sizes"
else
    row "The web page in headless chromium" \
        "not measured in this run: build the web preset (and install chromium and node) first" "$webDrive"
fi

# --- the table, into the page -----------------------------------------------------------------
commit=$(git rev-parse --short HEAD 2>/dev/null || echo "unknown")
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
table=$work/table
{
    echo "Measured $(date -u +%Y-%m-%d) at commit $commit on $(nproc) cores of $cpu (load average" \
        "$loadAtStart at the start, $(cut -d' ' -f1 /proc/loadavg) at the end), with $renderer drawing$($quick && echo ', in a quick run (fewer frames and rounds)')."
    echo
    echo "| What | Figure | Measured by |"
    echo "| --- | --- | --- |"
    cat "$rows"
} >"$table"
awk -v begin="$begin" -v end="$end" -v table="$table" '
    $0 == begin { print; print ""; while ((getline line < table) > 0) print line; print ""; skipping = 1; next }
    $0 == end { skipping = 0 }
    !skipping' "$page" >"$work/page"
cp "$work/page" "$page"
say "wrote the table in $page"
