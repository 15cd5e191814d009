#!/usr/bin/env bash
# Fails when a C++ file of src/, tools/, tests/, bench/ or fuzz/ is not laid out as .clang-format
# says (Debian's clang-format), naming each place. The vendored third_party_* files are left as
# they come. With --fix, formats those files in place instead: the command that made the tree's
# one formatting commit.
set -uo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' | grep -v '/third_party_')
if [ "${1:-}" = --fix ]; then
    exec clang-format -i "${files[@]}"
fi
clang-format --dry-run -Werror "${files[@]}"
