#!/usr/bin/env bash
# Recall and precision of `zandrel-cli scan` on 1 MiB ROMs assembled from real material by
# tools/make_real_rom.py. Seeds from 9000 up are made of the held-out material and are never
# tuned on; seeds below 9000 are made of the tuning material.
# Usage: bench/scan_quality_real.sh [--details FILE.csv] [SEED ...]   (default: 9001-9072, as
# in the README; on twelve ROMs the places across two palettes still move from 59 to 111 from
# one set of seeds to another)
# Builds zandrel-cli into build/ (the usual build folder). Needs python3.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
details=()
if [ "${1:-}" = --details ]; then
    details=(--details "$2")
    shift 2
fi
seeds=("$@")
[ ${#seeds[@]} -gt 0 ] || seeds=($(seq 9001 9072))

cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target zandrel-cli >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
roms=()
for seed in "${seeds[@]}"; do
    python3 "$root/tools/make_real_rom.py" "$work/real$seed.gba" --seed "$seed"
    roms+=("$work/real$seed.gba")
done
python3 "$root/bench/scan_quality_real.py" --cli "$root/build/bin/zandrel-cli" "${details[@]}" \
    "${roms[@]}"
