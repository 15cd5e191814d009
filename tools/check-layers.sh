#!/usr/bin/env bash
# Fails when an include runs against the layers: each folder of src/ may include only itself
# and the folders below it, and only the platform and audio backends (and the entry points)
# may include an operating-system or windowing header.
#
#   app -> show -> objects -> render, assets -> core;   audio, platform -> core
set -u
cd "$(dirname "$0")/../src"

allowed() {
    case $1 in
        core) echo "core" ;;
        platform) echo "platform core" ;;
        audio) echo "audio core" ;;
        assets) echo "assets core" ;;
        render) echo "render core" ;;
        objects) echo "objects render assets core" ;;
        show) echo "show objects render assets core" ;;
        app) echo "app show objects render assets audio platform core" ;;
        *) echo "" ;;
    esac
}

faults=0
for file in */*.h */*.cpp; do
    layer=${file%%/*}
    permitted=" $(allowed "$layer") "
    if [ "$permitted" = "  " ]; then
        echo "$file: folder $layer is not a known layer"
        faults=$((faults + 1))
        continue
    fi
    while IFS= read -r line; do
        target=$(sed -E 's/^#include "([a-z_]+)\/.*/\1/' <<<"$line")
        if [[ $permitted != *" $target "* ]]; then
            echo "$file: $layer may not include $line"
            faults=$((faults + 1))
        fi
    done < <(grep -E '^#include "[a-z_]+/' "$file")
    case $file in
        *_win32.cpp|*_sdl.cpp|*_egl.cpp|app/main_*.cpp) ;;
        *)
            if grep -qE '^#include <(windows\.h|mmsystem\.h|SDL[^>]*|EGL/[^>]*|GL/wgl[^>]*)>' "$file"; then
                echo "$file: an operating-system header outside the backends"
                faults=$((faults + 1))
            fi
            ;;
    esac
done
if [ $faults -gt 0 ]; then
    echo "$faults include(s) against the layers"
    exit 1
fi
echo "includes follow the layers"
