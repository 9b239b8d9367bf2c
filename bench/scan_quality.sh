#!/usr/bin/env bash
# Recall and precision of the palette scanner on synthetic ROMs made with seeds it was not
# tuned on (the tuning used seeds 1-3 and 21-24).
# Usage: bench/scan_quality.sh [SEED ...]   (default: 101 102 103 104, 4 MiB each)
# Builds zandrel_scan_quality into build/ (the usual build folder). Needs python3.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seeds=("$@")
[ ${#seeds[@]} -gt 0 ] || seeds=(101 102 103 104)

cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target zandrel_scan_quality >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
roms=()
for seed in "${seeds[@]}"; do
    python3 "$root/tools/make_synthetic_rom.py" "$work/seed$seed.gba" --seed "$seed"
    roms+=("$work/seed$seed.gba")
done
"$root/build/bin/zandrel_scan_quality" "${roms[@]}"
