#!/usr/bin/env bash
# Installs what is missing, builds the Linux port and its data, and plays the show.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target demo content shaders

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the show"
    echo "cannot open its window. It is built: run build/linux/show/demo on a desktop."
    exit 1
fi
exec build/linux/show/demo
