#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for a bounded time over a
# copy of its seed corpus (the committed seeds are never written).
# Usage: fuzz/run.sh TARGET|all SECONDS [libFuzzer option ...]
#   ZANDREL_FUZZ_SKIP_BUILD=1  use the targets already built (for runs side by side)
# Exits non-zero when a target crashes or breaks an invariant; the input that did it is kept
# in build-fuzz/fuzz-artifacts/ and the whole log in build-fuzz/fuzz-logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
all=(fuzz_numbers fuzz_definitions fuzz_palette_files fuzz_lz77 fuzz_patch fuzz_png_palette
    fuzz_viewer_settings)

if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET|all SECONDS [libFuzzer option ...]" >&2
    exit 2
fi
which=$1
seconds=$2
shift 2
if [ "$which" = all ]; then
    targets=("${all[@]}")
else
    targets=("$which")
fi

build=$root/build-fuzz
if [ "${ZANDREL_FUZZ_SKIP_BUILD:-0}" != 1 ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZANDREL_BUILD_FUZZ=ON -DZANDREL_BUILD_GUI=OFF -DZANDREL_BUILD_TESTS=OFF \
        -DZANDREL_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
fi

mkdir -p "$build/fuzz-artifacts" "$build/fuzz-logs"
status=0
for target in "${targets[@]}"; do
    binary=$build/bin/$target
    [ -x "$binary" ] || { echo "$target: not built ($binary)" >&2; exit 2; }
    work=$build/fuzz-corpus/$target
    rm -rf "$work" && mkdir -p "$work"
    cp -n "$root/fuzz/corpus/$target"/* "$work"/ 2>/dev/null || true
    log=$build/fuzz-logs/$target.log
    echo "== $target for ${seconds}s"
    if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$binary" "$work" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$target-" "$@" >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
    else
        status=1
        echo "$target FAILED; the end of its log ($log):" >&2
        tail -n 40 "$log" >&2
    fi
done
exit $status
