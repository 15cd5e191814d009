# Shared by the window tests: a private Xvfb display for the length of one test script.
# Source it, then call startXvfb WIDTHxHEIGHT; the display ends with the script.

startXvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # -noreset: by default the server resets whenever its last client leaves, and a program
    # that connects during the reset fails to open the display; the tests start and end one
    # client after another.
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 10 number <"$fifo" || { echo "Xvfb did not start"; exit 1; }
    rm -f "$fifo"
    export DISPLAY=":$number"
    trap 'kill $XVFB_PID 2>/dev/null' EXIT
}

# Seconds (with milliseconds) since the epoch.
now() { date +%s.%3N; }

# waitFor TIMEOUT COMMAND...: runs COMMAND every 20 ms until it succeeds; fails after TIMEOUT s.
# COMMAND is run anew each time: pass a function, not a "$(...)" that is expanded only once.
waitFor() {
    local deadline
    deadline=$(echo "$(now) + $1" | bc)
    shift
    until "$@" >/dev/null 2>&1; do
        if [ "$(echo "$(now) > $deadline" | bc)" = 1 ]; then return 1; fi
        sleep 0.02
    done
}

# The first viewable top-level window of a class, or nothing.
viewableWindow() {
    xdotool search --onlyvisible --class "$1" 2>/dev/null | head -n 1
}

# hasWindow CLASS: a viewable top-level window of that class exists.
hasWindow() { [ -n "$(viewableWindow "$1")" ]; }

# hasSize WINDOW WIDTHxHEIGHT
hasSize() { [ "$(windowSize "$1")" = "$2" ]; }

# hasEnded PID: the process is gone.
hasEnded() { ! kill -0 "$1" 2>/dev/null; }

windowSize() {
    xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

fail() { echo "FAIL: $*"; exit 1; }

# sleepUntil TIME: sleeps until TIME (as "now" gives it); returns at once if it has passed.
sleepUntil() {
    local left
    left=$(echo "$1 - $(now)" | bc)
    [ "$(echo "$left > 0" | bc)" = 1 ] && sleep "$left"
    return 0
}

# screenshot FILE.png: the whole screen as it is now, whatever windows are on it.
screenshot() { import -window root "$1"; }

# brightness FILE: the picture's mean grey level, 0 (black) to 1 (white), to three decimals.
brightness() { convert "$1" -colorspace Gray -format '%[fx:mean]' info: | xargs printf '%.3f'; }

# shotAt ORIGIN SECONDS FILE.png: waits until SECONDS after ORIGIN (as "now" gives it), saves
# the screen as FILE.png and prints when it was taken, its mean brightness and its number of
# colours. Fails when the screen is black (mean brightness 0.02 or less) or cannot be read.
# A black screen is taken again each second for up to 6 s: on llvmpipe a slow frame, or a
# loaded machine, can leave a frame from a scene's dark first moments on the screen a while.
# Every scene is lit well within 6 s of each moment the tests pick, so a show that draws
# nothing still fails.
shotAt() {
    local taken mean colours deadline
    deadline=$(echo "$1 + $2 + 6" | bc)
    sleepUntil "$(echo "$1 + $2" | bc)"
    while :; do
        taken=$(echo "$(now) - $1" | bc)
        rm -f "$3"
        screenshot "$3" || return 1
        mean=$(brightness "$3")
        colours=$(convert "$3" -format %k info:)
        echo "screen at $taken s: mean brightness $mean, $colours colours ($3)"
        [ "$(echo "$mean > 0.02" | bc)" = 1 ] && return 0
        [ "$(echo "$(now) < $deadline" | bc)" = 1 ] || return 1
        sleep 1
    done
}
