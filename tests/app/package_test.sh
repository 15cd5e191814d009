#!/usr/bin/env bash
# The Windows hand-out zip (the `package` target): one top folder named as the zip, holding
# demo.exe, README.txt (Windows line endings, says what the show needs and how it ends), the
# music and the 2d/, 3d/ and shaders/ folders with their files, and nothing else. Unzipped,
# the exe is of the expected architecture and imports system DLLs only, since nothing else
# ships beside it.
# Only cmake (to list and unzip) and MinGW's objdump are used: both are there wherever the
# Windows builds are.
# Usage: package_test.sh <show-winNN.zip> [i686|x86_64]   (default i686)
set -u
zip=${1:?usage: package_test.sh <zip> [i686|x86_64]}
arch=${2:-i686}

fail() { echo "package_test: $*"; exit 1; }

case $arch in
    i686) format=pei-i386; magic=010b; kind=PE32 ;;
    x86_64) format=pei-x86-64; magic=020b; kind=PE32+ ;;
    *) fail "unknown architecture $arch (i686 or x86_64)" ;;
esac
objdump=$arch-w64-mingw32-objdump
command -v "$objdump" >/dev/null || fail "$objdump not found"
[ -f "$zip" ] || fail "no zip at $zip"
zip=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")

entries=$(cmake -E tar tf "$zip") || fail "cmake can't read $zip"
[ -n "$entries" ] || fail "$zip is empty"

# Unzipping must not spill files: every entry lies under one folder, named as the zip.
top=$(basename "$zip" .zip)
while IFS= read -r entry; do
    case $entry in
        "$top"/*) ;;
        *) fail "entry outside the top folder $top/: $entry" ;;
    esac
done <<<"$entries"

# Only what the show loads, the exe and the read-me: no test output, objects or leftovers.
while IFS= read -r entry; do
    name=${entry#"$top"/}
    case $name in
        ""|demo.exe|README.txt|*.ogg) ;;
        2d/|2d/*.png|2d/*.jpg) ;;
        3d/|3d/*.3d) ;;
        shaders/|shaders/*.vs|shaders/*.fs) ;;
        shaders/common/|shaders/common/*.glsl) ;;
        *) fail "unexpected entry: $entry" ;;
    esac
    case $name in
        shaders/common/*) ;;
        */*/?*) fail "unexpected nesting: $entry" ;;
    esac
done <<<"$entries"

has() { grep -qxE "$1" <<<"$entries" || fail "missing: $2"; }
has "$top/demo\\.exe" "$top/demo.exe"
has "$top/README\\.txt" "$top/README.txt"
has "$top/2d/[^/]+\\.(png|jpg)" "textures in $top/2d/"
has "$top/3d/[^/]+\\.3d" "models in $top/3d/"
has "$top/shaders/[^/]+\\.vs" "vertex shaders in $top/shaders/"
has "$top/shaders/[^/]+\\.fs" "fragment shaders in $top/shaders/"
has "$top/shaders/common/[^/]+\\.glsl" "the shaders' shared code in $top/shaders/common/"
music=$(grep -cxE "$top/[^/]+\\.ogg" <<<"$entries")
[ "$music" -eq 1 ] || fail "$music music files at the top, not one"
echo "$zip: $(grep -cv '/$' <<<"$entries") files under $top/"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && cmake -E tar xf "$zip") || fail "can't unzip $zip"
dir=$tmp/$top

while IFS= read -r entry; do
    case $entry in
        */) ;;
        *) [ -s "$tmp/$entry" ] || fail "empty after unzipping: $entry" ;;
    esac
done <<<"$entries"

# The read-me is read on Windows: CRLF on every line, and the two things a viewer must know.
readme=$dir/README.txt
lines=$(wc -l <"$readme")
crlf=$(grep -c $'\r$' "$readme")
[ "$lines" -gt 0 ] && [ "$crlf" -eq "$lines" ] || fail "README.txt: $crlf of $lines lines end in CRLF"
grep -q "Escape" "$readme" || fail "README.txt does not say that Escape ends the show"
grep -q "ARB_gpu_shader_fp64" "$readme" || fail "README.txt does not give the OpenGL requirement"

exe=$dir/demo.exe
headers=$("$objdump" -p "$exe" 2>&1) || fail "$objdump can't read demo.exe: $headers"
grep -q "file format $format\$" <<<"$headers" || fail "demo.exe is not $format: $(grep -m1 'file format' <<<"$headers")"
grep -qE "^Magic[[:space:]]+$magic" <<<"$headers" || fail "demo.exe is not $kind (optional header magic is not $magic)"
echo "demo.exe: $kind ($format)"

dlls=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | sort -u)
[ -n "$dlls" ] || fail "demo.exe imports nothing: not a Windows program as built"
echo "demo.exe imports:" $dlls
for dll in $dlls; do
    case $dll in
        kernel32.dll|user32.dll|gdi32.dll|opengl32.dll|winmm.dll|msvcrt.dll) ;;
        *) fail "demo.exe imports $dll, which is not a system DLL and is not in the zip" ;;
    esac
done
echo "package_test: passed"
