# Shared by the fault tests: a private copy of the runnable folder in which one data file at a
# time is removed, cut in half or replaced by random bytes, and put back afterwards.
#
# Source it, then call makeFaultCopy RUNNABLE-FOLDER PROGRAMS... (sets COPY); each case is
#   applyFault COPY FILE FAULT ... restoreFile COPY FILE
# with FAULT one of missing, truncated, random.

faultKinds=(missing truncated random)

# The data files of a runnable folder, relative to it: the soundtrack, the textures, the
# models and the shaders. These are what the show reads; the programs are not data.
dataFiles() {
    (cd "$1" && ls demooooooo.ogg 2d/* 3d/* shaders/*.[vf]s shaders/common/*)
}

# makeFaultCopy FOLDER PROGRAM...: copies FOLDER's data and the named programs into a new
# temporary folder, which the caller removes (COPY names it), and keeps a pristine set of the
# data beside it to restore from.
makeFaultCopy() {
    local from=$1
    shift
    FAULT_WORK=$(mktemp -d)
    COPY=$FAULT_WORK/show
    mkdir -p "$COPY" "$FAULT_WORK/pristine"
    (cd "$from" && cp -r demooooooo.ogg 2d 3d shaders "$FAULT_WORK/pristine/") || return 1
    cp -r "$FAULT_WORK/pristine/." "$COPY/" || return 1
    local program
    for program in "$@"; do
        cp "$from/$program" "$COPY/" || return 1
    done
    # The same bytes on every run, so a failing case fails again when it is run again: a fixed
    # seed, and the C locale so each value is written as one byte.
    LC_ALL=C awk -v n=3500000 'BEGIN { srand(20240611); for (i = 0; i < n; i++) printf "%c", 1 + int(rand() * 255) }' \
        >"$FAULT_WORK/random.bin"
}

# applyFault COPY FILE FAULT
applyFault() {
    local file=$1/$2 size
    size=$(stat -c %s "$file")
    case $3 in
        missing) rm -f "$file" ;;
        truncated) head -c $((size / 2)) "$FAULT_WORK/pristine/$2" >"$file" ;;
        random) head -c "$size" "$FAULT_WORK/random.bin" >"$file" ;;
    esac
}

# restoreFile COPY FILE
restoreFile() { cp "$FAULT_WORK/pristine/$2" "$1/$2"; }

# sanitizerReport FILE: prints the first line of a sanitizer's report in FILE, if there is one.
sanitizerReport() {
    grep -m 1 -E 'ERROR: (Address|Leak|Memory|Thread)Sanitizer|UndefinedBehaviorSanitizer|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$1"
}
