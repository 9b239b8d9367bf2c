#!/usr/bin/env bash
# Checks the core's include direction, builds everything into build/ and runs every test;
# then builds the core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/) and runs them.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# The core's folders include each other one way only (util < platform < png < colour < rom
# < scan < palfiles, special, patch, gfx < app), and only png/ includes libpng.
tools/check_includes.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
# A hostile user's inputs against the built command-line tool: named pipes and devices, huge
# files, writers at once. Not a CTest case: its lock waits and 160 flushing runs take seconds.
tools/hostile.sh build/bin

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZANDREL_BUILD_GUI=OFF -DZANDREL_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$jobs")
# Every fuzz target for a few seconds over its seeds, so a parser that starts to crash fails CI.
fuzz/run.sh all 5
echo "All tests passed."
