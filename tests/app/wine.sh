# Shared by the wine tests: a private prefix, and a wine virtual desktop of the display's size.
#
# The desktop is wine's own: wine then places and sizes windows as Windows does, by itself.
# Straight on an X display, wine hands that to an X window manager, and a window whose style
# says "maximized" (as the show's full-screen style does) is left at its old size without one.

# prepareWine EXE: a prefix of its own beside the build, made once, so no state of a person's
# own prefix (or of an earlier run's key presses) leaks in. Sets WINE.
prepareWine() {
    export WINEPREFIX=${WINEPREFIX:-$(dirname "$(dirname "$1")")/wineprefix}
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
    WINE=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
    [ -d "$WINEPREFIX" ] || timeout 120 "$WINE" wineboot -i >/dev/null 2>&1
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}

# The wine desktop the programs run on, as an argument of "$WINE" explorer, at the Xvfb size.
DESKTOP=/desktop=show,640x360
