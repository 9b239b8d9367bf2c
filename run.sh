#!/usr/bin/env bash
# Builds the window and zandrel-cli into build/ and starts the window. Arguments are passed to
# the window.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target zandrel zandrel-cli zandrel_data -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    echo "No display found. Zandrel is a desktop program; to run it without a screen, start it"
    echo "under a virtual X server:"
    echo "    apt-get install xvfb && xvfb-run -a ./build/bin/zandrel"
    exit 1
fi
exec ./build/bin/zandrel "$@"
