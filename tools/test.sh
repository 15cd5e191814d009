#!/usr/bin/env bash
# The whole test suite, from a fresh clone: installs what is missing, then builds and checks
#   layers      every include runs downward (tools/check-layers.sh)
#   format      the C++ laid out as .clang-format says (tools/check-format.sh)
#   linux       unit, GL (llvmpipe, headless) and window (Xvfb) tests, videos through capture, the
#               frame scan (no frame of the show may stall), the
#               whole show played to its own end in Xvfb, and the play command without a display;
#               the .deb unpacked and played from another folder
#   farm        the capture farm on GNU parallel and on a one-node Slurm cluster the test starts:
#               its delivery file equal to a single capture by framemd5, chunks killed, cut,
#               swapped or failing named and rendered again or refused
#   web         the web page builds (emscripten, warnings are errors); in headless chromium its
#               moments match the native capture, its audio buffer the native decode, and it
#               starts on a click, plays with its music and goes back to the start on Escape
#   linux-debug builds at -O0 with assertions on (the debugger's build)
#   linux-asan  the same under AddressSanitizer and UndefinedBehaviorSanitizer, every data file
#               missing, cut or random one at a time, and the whole show drawn headless
#   linux-tsan  the music feeder under ThreadSanitizer, with a simulated device and SDL's dummy one
#   glcheck     the GL tests with every GL call followed by an error check that names it
#   clang       everything built with clang at -Werror, then clang-tidy over src/ and tools/
#   win32       builds with zero warnings; its zip (the package target) holds one folder with
#               the exe, its data and a read-me, and nothing else; the exe imports system DLLs only
#   win64       builds, its zip is checked the same way, and it runs under wine in Xvfb: its
#               first two scenes are screenshot, Escape ends it; the message drain keeps a quit
#               that other messages follow; its start-up under wine is printed step by step
#               (figures only: no time fails it)
#   fuzz        the file loaders' fuzz targets, for a bounded time
# Ends with one line "N passed, N failed".
#
# With --quick, the check before each commit (a few minutes on a built tree): the layers, the
# format, the linux build and its unit and GL tests, without the window tests, the videos, the
# frame scan, the whole show, the packages, the other builds and the fuzzing.
# Usage: test.sh [--quick]
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
fuzzSeconds=${FUZZ_SECONDS:-60}
quick=false
case ${1:-} in
    --quick) quick=true ;;
    "") ;;
    *) echo "usage: test.sh [--quick]" >&2; exit 2 ;;
esac

bash tools/install-deps.sh || exit 1

passed=0
failed=0
failures=()
step() {
    local name=$1
    shift
    echo
    echo "=== $name"
    local begin=$SECONDS
    if "$@"; then
        passed=$((passed + 1))
        echo "=== $name: passed ($((SECONDS - begin)) s)"
    else
        failed=$((failed + 1))
        failures+=("$name")
        echo "=== $name: FAILED ($((SECONDS - begin)) s)"
    fi
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs" "${@:2}"; }

# The show never frees what lives for the whole run, and the GL driver keeps its own caches:
# leak reports would be noise. Every other sanitizer finding fails the run.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1

# Ends the run with its summary line; fails when a step failed.
finish() {
    echo
    if [ $failed -gt 0 ]; then
        echo "failed: ${failures[*]}"
    fi
    echo "$passed passed, $failed failed"
    [ $failed -eq 0 ]
    exit
}

step "includes follow the layers" bash tools/check-layers.sh
step "C++ laid out as .clang-format says" bash tools/check-format.sh
step "linux build" build linux
if $quick; then
    step "linux unit and GL tests" ctest --preset linux -j "$jobs" -LE "window|capture"
    finish
fi
step "linux tests" ctest --preset linux -j "$jobs"
# The show drawn in sequence with every frame timed: a frame still drawing after 5 s ends the
# scan and fails it (a stall on llvmpipe lasts minutes; a normal frame here takes a tenth of a
# second). The whole show small, then the fireworks, the scene most prone to it, at 30 fps.
frameScan() { (cd build/linux/show && ../bench/show/frame_scan --limit 5 "$@"); }
step "frame scan: whole show at 64x36, 10 fps" frameScan --size 64x36 --fps 10
step "frame scan: fireworks at 320x180, 30 fps" frameScan --size 320x180 --fps 30 --from 65 --to 80
step "linux show plays to its end" bash tests/app/linux_show_end_test.sh build/linux/show/demo
headlessPlay() {
    rm -f build/show-64x36.mp4
    env -u DISPLAY -u WAYLAND_DISPLAY SHOW_VIDEO_SIZE=64x36 SHOW_VIDEO_FPS=2 bash tools/play.sh || return 1
    local streams
    streams=$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 build/show-64x36.mp4 | sort | tr '\n' ' ')
    echo "streams: $streams"
    [ "$streams" = "audio video " ]
}
step "play command without a display makes a video" headlessPlay
step "linux show plays in silence without a sound device" bash tests/app/silent_run_test.sh build/linux/show/demo
# The .deb (CPack), unpacked into a temporary root and played from another folder in Xvfb.
linuxPackage() {
    rm -f build/linux/the-show_*.deb
    cmake --build --preset linux -j "$jobs" --target package || return 1
    bash tests/app/linux_package_test.sh build/linux/the-show_*.deb build/linux/show
}
step "linux package" linuxPackage
# The farm's schedulers are installed here rather than by every run of install-deps.sh.
farm() {
    bash tools/install-deps.sh farm || return 1
    bash tests/farm/farm_parallel_test.sh build/linux/show && bash tests/farm/farm_slurm_test.sh build/linux/show
}
step "capture farm on GNU parallel and Slurm" farm
step "web build" build web
step "web page in headless chromium" bash tests/web/web_page_test.sh build/web/show build/linux/show

step "linux-debug build" build linux-debug
step "linux-asan build" build linux-asan
step "linux-asan tests" ctest --preset linux-asan -j "$jobs" -LE "window|capture|fault_matrix|whole_show_sanitized"
step "linux-asan fault matrix" ctest --preset linux-asan -L fault_matrix
step "linux-asan whole show headless" ctest --preset linux-asan -L whole_show_sanitized

step "linux-tsan build" build linux-tsan --target music_feeder_test music_stream_test wave_out_sdl_threads_test player_music_test
step "linux-tsan music tests" ctest --preset linux-tsan -L "music_feeder_test|music_stream_test|wave_out_sdl_threads_test|player_music_test"

# Every GL call checked for an error (abort naming the call), for the tests that drive GL.
glcheckTests="gl_loader_test gl_error_check_test renderer_test render_pixels_test depth_of_field_test anti_aliasing_test shader_reload_test shader_library_test shader_files_test show_headless_test model_gl_test texture_gl_test tunnel_mesh_test frame_loop_test"
# The shader files' reference checks read each stage through expand_glsl, which is no test.
# shellcheck disable=SC2086 # one target per word
step "linux-glcheck build" build linux-glcheck --target $glcheckTests expand_glsl
step "linux-glcheck GL tests" ctest --preset linux-glcheck -j "$jobs" -L "$(echo $glcheckTests | tr ' ' '|')"
step "linux-clang build" build linux-clang
step "static analysis" env JOBS="$jobs" bash tools/static-analysis.sh build/linux-clang

# The zip handed out to Windows users, built by the preset's package target and checked as
# unzipped: one folder, exactly the exe and its data, the exe's imports system DLLs only.
package() {
    local preset=$1 arch=$2
    cmake --build --preset "$preset" -j "$jobs" --target package &&
        bash tests/app/package_test.sh "build/$preset/show-$preset.zip" "$arch"
}
step "win32 build" build win32
step "win32 package" package win32 i686

step "win64 build" build win64
step "win64 package" package win64 x86_64
step "win64 window under wine" bash tests/app/wine_window_test.sh build/win64/show/demo.exe
step "win64 faults and no sound under wine" bash tests/app/wine_fault_test.sh build/win64/show/demo.exe
step "win64 message drain under wine" bash tests/app/wine_message_drain_test.sh build/win64/message_drain_check.exe
step "win64 start-up by step under wine" bash tests/app/wine_startup_bench.sh build/win64/startup_bench.exe build/win64/show 3

fuzz() {
    cmake --preset fuzz >/dev/null || return 1
    local runners=(fuzz/*/run.sh)
    [ -e "${runners[0]}" ] || { echo "no fuzz targets"; return 0; }
    cmake --build --preset fuzz -j "$jobs" --target fuzz_targets || return 1
    for runner in "${runners[@]}"; do
        bash "$runner" "$fuzzSeconds" || return 1
    done
}
step "fuzz" fuzz
finish
