#!/usr/bin/env python3
"""Helpers of bench/run.sh.

ratios CORE.json [MORE.json ...]
                               the medians of Google Benchmark's JSON output, with each
                               measured operation divided by the plain work it is held to.
frames TILES.json              the graphics viewer's drawing against a 16 ms frame.
processes RUNS BARE ZANDREL ROM_SMALL ROM_LARGE
                               start to first shown window, and peak memory, of the program
                               against the bare Qt window; the two are run in turn (A B A B),
                               so a drift of the machine's speed touches both alike.
"""
import json
import os
import statistics
import subprocess
import sys
import time


def medians(paths):
    found = {}
    for path in paths:
        with open(path) as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("aggregate_name") == "median":
                    found[b["run_name"]] = (b["real_time"], b["cpu_time"], b["time_unit"])
    return found


UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}

# (measured, yardstick, target ratio or None, what it says)
RATIOS = [
    ("BM_ParseDefinitionFile", "BM_ReadDefinitionFilePlain", 3,
     "parse of 32767 entries / plain ifstream getline loop"),
    ("BM_LoadPaletteDefinitionsIntoLists", "BM_ReadDefinitionFilePlain", None,
     "definitions into the three lists / plain loop"),
    ("BM_ParseDefinitionFileIntoFreshMemory", "BM_ReadDefinitionFilePlain", None,
     "parse into memory the system gives anew / plain loop"),
    ("BM_ReadSelectedPalette", "BM_BarePread32", 20, "palette read / bare pread of 32 bytes"),
    ("BM_ReadSelectedPalette", "BM_BareOpenPreadClose32", 1.5,
     "palette read / bare open+pread+close"),
    # The save flushes to the disk before it says so: against a pwrite that leaves the bytes
    # in the page cache it costs what the flush costs, so its target is against the flush.
    ("BM_WritePaletteWords", "BM_BarePwrite32", None, "palette save / bare pwrite of 32 bytes"),
    ("BM_WritePaletteWords", "BM_BareOpenPwriteFsyncClose32", 1.2,
     "palette save / bare open+pwrite+fsync+close"),
    ("BM_SpecialStep", "BM_BarePread32", 20, "special-mode step / bare pread of 32 bytes"),
    ("BM_SpecialStep", "BM_BareOpenPreadClose32", None,
     "special-mode step / bare open+pread+close"),
    ("BM_ScanRomFile", "BM_ReadRomPlain", 10,
     "palette scan of a 32 MiB synthetic ROM / plain read of the file"),
    ("BM_ScanRealRomFile", "BM_ReadRomPlain", 10,
     "palette scan of a 32 MiB ROM of real material / plain read of a file that size"),
    ("BM_FindPaletteInRomFile", "BM_ReadRomPlain", 10,
     "find of one palette (tolerance 2) in the same ROM / plain read of the file"),
    ("BM_FindPaletteInRomFile", "BM_ScanRomFile", 1, "find of one palette / palette scan"),
    ("BM_RecompressLz77Block", "BM_DecompressLz77Block", 25,
     "save into a 1 MiB LZ77 block (decompress, recompress into its room, check) / its decompression"),
    ("BM_CompressLz77Block", "BM_DecompressLz77Block", None,
     "shortest stream of the same 1 MiB / its decompression"),
] + [(f"ScanInMemory/{name}", "ScanInMemory/RandomWords", 3,
      f"scan of 8 MiB of {what} / of random 15-bit words")
     for name, what in [("RepeatedHeaders", "10 00 02 00 repeated"),
                        ("TableOfRamps", "palette-like ramps"),
                        ("CompressedBlocks", "LZ77 blocks of palettes")]]


def verdict(ratio, target, lower_is_better=True):
    if target is None:
        return ""
    return f"(target <= {target}: {'met' if ratio <= target else 'MISSED'})"


def ratios(paths):
    found = medians(paths)
    print("\nMedians (wall clock, CPU):")
    for name, (real, cpu, unit) in sorted(found.items()):
        print(f"  {name:42s} {real:12.3f} {unit}  {cpu:12.3f} {unit}")
    print("\nRatios of the medians (wall clock):")
    for measured, yardstick, target, what in RATIOS:
        if measured not in found or yardstick not in found:
            continue
        a = found[measured][0] * UNIT[found[measured][2]]
        b = found[yardstick][0] * UNIT[found[yardstick][2]]
        print(f"  {a / b:8.2f}x  {what} {verdict(a / b, target)}")


FRAME_MS = 16.0


def frames(paths):
    """Each drawing's median as a share of one frame: a redraw must stay well under it."""
    print(f"\nGraphics viewer, medians against a {FRAME_MS:.0f} ms frame:")
    for name, (real, cpu, unit) in medians(paths).items():
        if "Draw" not in name and "Redraw" not in name:
            continue  # the files may hold other measures
        ms, cpu_ms = real * UNIT[unit] * 1000, cpu * UNIT[unit] * 1000
        print(f"  {name:42s} {ms:8.3f} ms (CPU {cpu_ms:.3f} ms)  {ms / FRAME_MS:6.1%} of a "
              f"frame {verdict(ms, FRAME_MS / 4)}")


def run_once(argv, env):
    start = time.perf_counter()
    child = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{argv[0]} failed with status {status}")
    return elapsed, usage.ru_maxrss / 1024.0  # the kernel's peak RSS, as time -v shows it


def processes(runs, bare, zandrel, rom_small, rom_large):
    base = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"))
    quit_env = dict(base, ZANDREL_QUIT_AFTER_SHOW="1")
    cases = {
        "bare window": ([bare], base),
        "bare window with text": ([bare, "text"], base),
        "zandrel": ([zandrel], quit_env),
        "zandrel, small ROM open": ([zandrel], dict(quit_env, ZANDREL_BENCH_OPEN=rom_small)),
        "zandrel, 32 MiB ROM open": ([zandrel], dict(quit_env, ZANDREL_BENCH_OPEN=rom_large)),
    }
    for argv, env in cases.values():  # warm the caches once
        run_once(argv, env)
    times = {name: [] for name in cases}
    peaks = {name: [] for name in cases}
    pair_ratios = []
    for _ in range(runs):
        for name, (argv, env) in cases.items():
            t, m = run_once(argv, env)
            times[name].append(t)
            peaks[name].append(m)
        pair_ratios.append(times["zandrel"][-1] / times["bare window"][-1])
    print(f"\nWhole processes, {runs} runs each in turn (medians):")
    for name in cases:
        print(f"  {name:28s} start to first window {statistics.median(times[name]) * 1000:8.1f} ms"
              f"   peak RSS {statistics.median(peaks[name]):7.1f} MiB")
    # A window with text pays for Qt's font database; the one with a line of text is the fair
    # yardstick, the empty one shows what the fonts cost.
    ratio = statistics.median(pair_ratios)
    print(f"\n  {ratio:8.2f}x  start of zandrel / bare empty window (median of pairwise ratios)")
    with_text = statistics.median(
        [z / b for z, b in zip(times["zandrel"], times["bare window with text"])])
    print(f"  {with_text:8.2f}x  start of zandrel / bare window with one line of text "
          f"{verdict(with_text, 1.3)}")
    bare_peak = statistics.median(peaks["bare window"])
    for name in ("zandrel", "zandrel, small ROM open", "zandrel, 32 MiB ROM open"):
        extra = statistics.median(peaks[name]) - bare_peak
        print(f"  {extra:+8.1f} MiB  peak memory of {name} - bare window "
              f"{verdict(extra, 10)}")


if __name__ == "__main__":
    if sys.argv[1] == "ratios":
        ratios(sys.argv[2:])
    elif sys.argv[1] == "frames":
        frames(sys.argv[2:])
    elif sys.argv[1] == "processes":
        processes(int(sys.argv[2]), *sys.argv[3:7])
    else:
        sys.exit(__doc__)
