#!/usr/bin/env bash
# What the soundtrack costs while the show plays: runs the demo in a private X display (Xvfb,
# SDL's dummy audio driver, which takes samples at the real rate) for SECONDS, then prints the
# CPU time of the music feeder thread and of SDL's audio thread, as a share of one core.
#
#   feeder_cpu.sh DEMO [SECONDS]      (default 60)
set -u
demo=$(realpath "$1")
seconds=${2:-60}
. "$(dirname "$0")/../../tests/app/xvfb.sh"
startXvfb 320x180
export SDL_AUDIODRIVER=dummy
(cd "$(dirname "$demo")" && exec "$demo") >/dev/null 2>&1 &
pid=$!
sleep "$seconds"
ticks=$(getconf CLK_TCK)
printf '%-12s %10s %8s\n' thread "CPU s" "share"
for task in /proc/$pid/task/*; do
    name=$(cat "$task/comm")
    case $name in music | SDLAudio*) ;; *) continue ;; esac
    # Fields 14 and 15 of stat: user and system time in clock ticks (the name, field 2, has no
    # spaces for these threads).
    read -r user system < <(awk '{print $14, $15}' "$task/stat")
    cpu=$(echo "scale=3; ($user + $system) / $ticks" | bc)
    printf '%-12s %10s %7.2f%%\n' "$name" "$cpu" "$(echo "scale=4; 100 * $cpu / $seconds" | bc)"
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
echo "over $seconds s of the show"
