#!/usr/bin/env bash
# What each pass costs on this machine at the least: times the show's scenes at 640 x 360 (with
# show_bench, which reads the shaders from its working folder) once with the real shaders and
# once with every fragment shader replaced by the cheapest one that still does its pass's
# structural job: it reads each of its textures once, at the pixel, and writes each of its
# outputs. What is left is the pass's fixed cost (its draws, the rasterizer, the texture reads
# and the writes), below which no rewrite of its shaders can go. Rounds alternate the two so
# that a change in the machine's speed reaches both; each figure is the median over the rounds.
# The floor shaders keep no discard, so a pass that drops most of its pixels (the particles)
# may floor above its real cost. A benchmark: it prints figures and fails only if a run fails.
#
#   pass_floor.sh [RUNNABLE-FOLDER] [ROUNDS] [FRAMES]   (default build/linux/show, 5, 10)
set -euo pipefail
runnable=$(cd "${1:-$(dirname "$0")/../../build/linux/show}" && pwd)
rounds=${2:-5}
frames=${3:-10}
bench=$runnable/../bench/show/show_bench
[ -x "$bench" ] || { echo "pass_floor: no show_bench beside $runnable" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The floor copy shares everything with the runnable folder except its shaders.
mkdir "$work/floor"
for entry in "$runnable"/*; do
    [ "$(basename "$entry")" = shaders ] || ln -s "$entry" "$work/floor/"
done
cp -r "$runnable/shaders" "$work/floor/shaders"

# Keeps the shader's texture and output declarations and nothing else of it.
floorShader() {
    echo "#version 330 core"
    grep -E '^uniform sampler2D(Rect)? [A-Za-z0-9_]+;' "$1" || true
    grep -E '^out vec4 [A-Za-z0-9_]+;' "$1"
    echo "void main()"
    echo "{"
    echo "    vec4 v = vec4(0.0);"
    sed -n 's/^uniform sampler2DRect \([A-Za-z0-9_]*\);.*/    v += texelFetch(\1, min(ivec2(gl_FragCoord.xy), textureSize(\1) - 1));/p' "$1"
    sed -n 's/^uniform sampler2D \([A-Za-z0-9_]*\);.*/    v += texture(\1, gl_FragCoord.xy \/ vec2(textureSize(\1, 0)));/p' "$1"
    sed -n 's/^out vec4 \([A-Za-z0-9_]*\);.*/    \1 = v;/p' "$1"
    echo "}"
}
for shader in "$runnable"/shaders/*.fs; do
    floorShader "$shader" >"$work/floor/shaders/$(basename "$shader")"
done

# One line per scene and run: the configuration, the scene, the mean frame and the eight passes.
timeRun() {
    local label=$1 folder=$2 output
    if ! output=$(cd "$folder" && "$bench" "$frames" --640-only 2>&1); then
        echo "$output" >&2
        echo "pass_floor: show_bench failed in the $label folder" >&2
        exit 1
    fi
    echo "$output" | awk -v label="$label" -F'|' '
        NF == 2 && $1 ~ /^[a-z]/ && $1 !~ /^scene/ {
            n = split($1, left, " ")
            name = left[1]
            for (i = 2; i <= n - 3; ++i) name = name "_" left[i]
            m = split($2, right, " ")
            line = label " " name " " left[n - 2]
            for (i = 1; i <= m; i += 2) line = line " " right[i]
            print line
        }'
}
for ((round = 1; round <= rounds; ++round)); do
    timeRun real "$runnable"
    timeRun floor "$work/floor"
done >"$work/times"

awk '
    function median(key,    n, i, j, v, sorted) {
        n = count[key]
        for (i = 1; i <= n; ++i) sorted[i] = values[key, i]
        for (i = 2; i <= n; ++i)
            for (j = i; j > 1 && sorted[j - 1] > sorted[j]; --j) {
                v = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = v
            }
        return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
    }
    {
        if (!($2 in seen)) { seen[$2] = 1; order[++scenes] = $2 }
        passes = NF - 3
        for (f = 3; f <= NF; ++f) { key = $1 SUBSEP $2 SUBSEP f; values[key, ++count[key]] = $f }
    }
    END {
        split("geometry light forward half DOF glow composite FXAA", names, " ")
        printf "%-16s %-6s %6s |", "scene", "", "frame"
        for (p = 1; p <= passes; ++p) printf " %9s", names[p]
        printf " | %6s\n", "sum"
        for (s = 1; s <= scenes; ++s) {
            split("real floor", labels, " ")
            for (l = 1; l <= 2; ++l) {
                sum = 0
                name = order[s]; gsub("_", " ", name)
                printf "%-16s %-6s %6.1f |", l == 1 ? name : "", labels[l], median(labels[l] SUBSEP order[s] SUBSEP 3)
                for (p = 1; p <= passes; ++p) {
                    v = median(labels[l] SUBSEP order[s] SUBSEP p + 3)
                    sum += v
                    printf " %9.1f", v
                }
                printf " | %6.1f\n", sum
            }
        }
    }' "$work/times"
echo "ms at 640x360, median of $rounds rounds of $frames frames per scene; floor: every fragment shader reads its textures once and writes"
