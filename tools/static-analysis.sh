#!/usr/bin/env bash
# clang-tidy over the show's own code (src/ and tools/), with the checks in .clang-tidy, through
# the compile database of the linux-clang preset (configured here if need be; nothing is built).
# Every finding is an error. Vendor units (third_party_*.cpp) are left out; Windows-only backends
# are not in a Linux build's database.
#
#   bash tools/static-analysis.sh [build-folder]     (default build/linux-clang; JOBS=2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
buildDir=${1:-build/linux-clang}
jobs=${JOBS:-2}

tidy=$(command -v run-clang-tidy || command -v run-clang-tidy-14 || true)
if [ -z "$tidy" ]; then
    echo "run-clang-tidy missing: install Debian's clang-tidy" >&2
    exit 1
fi

cmake --preset linux-clang -B "$buildDir" >/dev/null
if [ ! -f "$buildDir/compile_commands.json" ]; then
    echo "no compile database in $buildDir" >&2
    exit 1
fi

# The file argument is a regular expression on each database entry's absolute path. The
# colours are taken out for CI's log, and so are the per-file counts of the warnings that were
# not ours to report (system headers, checks left out).
set +e
"$tidy" -quiet -j "$jobs" -p "$buildDir" "^$root/(src|tools)/(?!.*/third_party_)[^ ]*\.cpp$" 2>&1 |
    sed 's/\x1b\[[0-9;]*m//g' |
    grep -v -E '^clang-tidy(-[0-9]+)? |^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] && echo "clang-tidy: no findings"
exit "$status"
