#!/usr/bin/env bash
# The Win32 message drain under wine: a quit followed by another message in the same drain is
# taken (see tests/platform/message_drain_win32.cpp). The program makes no window, but wine's
# user32 still wants a display, so it gets an Xvfb of its own.
# Usage: wine_message_drain_test.sh <path to message_drain_check.exe in a Windows build folder>
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(dirname "$0")
. "$here/xvfb.sh"
. "$here/wine.sh"
startXvfb 320x200
# The same prefix as the show's wine tests: wine.sh places it beside the runnable folder.
prepareWine "$(dirname "$exe")/show/$(basename "$exe")"
timeout 120 "$WINE" "$exe"
status=$?
wineserver -k 2>/dev/null
[ $status -eq 0 ] || { echo "message_drain_check ended with status $status"; exit 1; }
