#!/usr/bin/env bash
# Measures the program's promises on this machine, in one run: the core's timings against the
# plain work they are held to, the start of the program against a bare Qt Widgets window, and
# its peak memory with the largest ROM open. The machine should be otherwise idle; quote
# medians and ratios, and run again when `uptime` shows a load.
# Usage: bench/run.sh [RUNS]   (RUNS: whole-process runs of each program, default 21)
# Builds into build-bench/ (Release). Needs python3.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-21}
build=$root/build-bench

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZANDREL_BUILD_GUI=ON \
    -DZANDREL_BUILD_TESTS=OFF -DZANDREL_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target zandrel zandrel_bench_core zandrel_bench_gui \
    zandrel_bench_scan zandrel_bench_lz77 zandrel_bench_tiles zandrel_bare_window >/dev/null
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
# The benchmark programs leave their 32 MiB ROM and definition files in zandrel-bench/ of the
# temporary folder.
trap 'rm -rf "$work" "${TMPDIR:-/tmp}/zandrel-bench"' EXIT

# The program reads its definition files beside itself: a copy of it in a folder whose
# TORV_E.ZNDL has the 32767 entries the lists can hold, for ROMs with that game's code.
mkdir "$work/program"
cp "$build/bin/zandrel" "$work/program/"
awk 'BEGIN { for (k = 0; k < 32767; k++) printf "16,%X,Paleta número %d\r\n", k * 1024, k }' \
    >"$work/program/TORV_E.ZNDL"
rom() { # rom PATH SIZE: random bytes with the game code at 0xAC
    head -c "$2" /dev/urandom >"$1"
    printf 'AQXE' | dd of="$1" bs=1 seek=172 conv=notrunc status=none
}
rom "$work/small.gba" 256
rom "$work/large.gba" $((32 << 20))

echo "Machine: $(nproc) processors; load:$(uptime | sed 's/.*load average://')"
# Repetitions of the benchmarks in a random order rather than each one's in a row, so a drift
# of the machine's speed (other programs, the disk's flushes) touches a measure and its
# yardstick alike.
args=(--benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
    --benchmark_report_aggregates_only=true --benchmark_out_format=json)
"$build/bin/zandrel_bench_core" "${args[@]}" --benchmark_out="$work/core.json" >/dev/null 2>&1
"$build/bin/zandrel_bench_gui" "${args[@]}" --benchmark_out="$work/gui.json" >/dev/null 2>&1
# The scan makes its 32 MiB ROMs with tools/make_synthetic_rom.py and tools/make_real_rom.py
# first (python3; about a minute).
"$build/bin/zandrel_bench_scan" "${args[@]}" --benchmark_out="$work/scan.json" >/dev/null 2>&1
"$build/bin/zandrel_bench_lz77" "${args[@]}" --benchmark_out="$work/lz77.json" >/dev/null 2>&1
python3 "$root/bench/compare.py" ratios "$work/core.json" "$work/gui.json" "$work/scan.json" \
    "$work/lz77.json"
"$build/bin/zandrel_bench_tiles" "${args[@]}" --benchmark_out="$work/tiles.json" >/dev/null 2>&1
python3 "$root/bench/compare.py" frames "$work/tiles.json" "$work/gui.json"
python3 "$root/bench/compare.py" processes "$runs" "$build/bin/zandrel_bare_window" \
    "$work/program/zandrel" "$work/small.gba" "$work/large.gba"
echo "Load afterwards:$(uptime | sed 's/.*load average://')"
