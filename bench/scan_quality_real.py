#!/usr/bin/env python3
"""Recall and precision of `zandrel-cli scan` on ROMs made by tools/make_real_rom.py, from
their lists of planted palettes and regions.

Each ROM is scanned once with --min 0; a candidate is printed at the default score when its
score is at least --min (what `scan` without --min prints, since the overlap rule runs before
the minimum). Reported:
  - recall of the planted palettes with 3 or more distinct colours, at --min and among all
    candidates (--min 0), in all and by kind, storage, placement, alignment and colour count;
  - precision at --min, and every false candidate classed by what it lies on: a region kind,
    "cuts-two-palettes" (a raw place across two planted palettes, which a user saving there
    would write across both), or "straddles-palette+KIND" (part palette, part something else);
  - printed places that cut across two planted palettes, at --min and at 0, and the lowest
    score from which none is printed, with the recall there;
  - the missed palettes by what the scan kept over them: the palette's own place below --min, a
    raw window a few bytes off (printed or not), or nothing.
Usage: bench/scan_quality_real.py --cli PATH [--min N] [--details FILE] ROM.gba ...
"""
import argparse
import bisect
import collections
import csv
import os
import re
import subprocess
import sys

LINE = re.compile(r"^16,(LZ:)?([0-9A-F]+)(?:\+([0-9A-F]+))?,.*\(pontuação (\d+)\)$")
PALETTE_BYTES = 32


def stem(path):
    return path[:-4] if path.lower().endswith(".gba") else path


def read_csv(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f))


def scan(cli, rom):
    out = subprocess.run([cli, "scan", rom, "--min", "0"], check=True, capture_output=True,
                         text=True).stdout
    candidates = []
    for line in out.splitlines():
        m = LINE.match(line)
        if not m:
            raise SystemExit(f"{rom}: unexpected scan line {line!r}")
        candidates.append(((int(m[2], 16), m[1] is not None, int(m[3] or "0", 16)), int(m[4])))
    return candidates


class Regions:
    def __init__(self, rows):
        self.starts = [int(r["start"], 16) for r in rows]
        self.ends = [int(r["end"], 16) for r in rows]
        self.kinds = [r["kind"] for r in rows]

    def overlapping(self, start, end):
        """(kind, bytes in [start, end), region start) of each region it touches."""
        i = max(0, bisect.bisect_right(self.starts, start) - 1)
        out = []
        while i < len(self.starts) and self.starts[i] < end:
            inside = min(end, self.ends[i]) - max(start, self.starts[i])
            if inside > 0:
                out.append((self.kinds[i], inside, self.starts[i]))
            i += 1
        return out


def false_class(key, regions):
    location, compressed, _ = key
    if compressed:
        return regions.overlapping(location, location + 1)[0][0]
    touched = regions.overlapping(location, location + PALETTE_BYTES)
    palettes = [t for t in touched if t[0] == "palette"]
    if len(palettes) >= 2:
        return "cuts-two-palettes"
    others = [t for t in touched if t[0] != "palette"]
    if palettes:
        return "straddles-palette+" + max(others, key=lambda t: t[1])[0]
    return max(touched, key=lambda t: t[1])[0]


def colour_bin(distinct):
    return "3-4" if distinct <= 4 else "5-8" if distinct <= 8 else "9-16"


def groups(row):
    """The breakdowns a planted palette counts in."""
    raw = row["compressed"] == "0"
    out = ["all", "raw" if raw else "compressed", "kind " + row["kind"],
           "placement " + row["placement"], "colours " + colour_bin(int(row["distinct"]))]
    if raw:
        out.append("raw, 2 off a 4-byte boundary" if int(row["location"], 16) % 4 == 2 else
                   "raw, 4-byte aligned")
    if int(row["used"]) < 16:
        out.append("unused slots at the end")
    return out


def why_missed(key, scores, raw_scores, least):
    """What the scan kept over a planted palette it did not print: the palette itself below
    the score, a raw window a few bytes off that overlaps it (printed or not), or nothing."""
    if key in scores:
        return "kept at its place, below --min"
    if not key[1]:
        first = bisect.bisect_left(raw_scores, (key[0] - PALETTE_BYTES + 1,))
        near = [score for at, score in raw_scores[first:] if at < key[0] + PALETTE_BYTES]
        if near:
            return ("a printed window off its place overlaps it" if max(near) >= least
                    else "a window off its place overlaps it, below --min")
    return "nothing kept over it (never judged, or judged unlikely)"


def percent(part, whole):
    return f"{100.0 * part / whole:5.1f}%" if whole else "    -"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--min", type=int, default=50)
    parser.add_argument("--details", help="write every miss and false candidate to this CSV")
    parser.add_argument("roms", nargs="+")
    args = parser.parse_args()

    wanted = collections.Counter()   # group -> planted palettes of 3+ colours
    found = collections.Counter()    # group -> of them printed at --min
    found_any = collections.Counter()  # group -> of them among all candidates
    false_kinds = collections.Counter()
    missed_why = collections.Counter()  # what the scan kept over a missed palette
    printed = true = cuts = cuts_any = 0
    highest_cut = -1  # the best score of a place across two planted palettes
    planted_scores = []  # each planted palette of 3+ colours: its score, -1 when not kept
    details = []
    for rom in args.roms:
        planted = {(int(r["location"], 16), r["compressed"] == "1", int(r["offset"], 16)): r
                   for r in read_csv(stem(rom) + ".palettes.csv")}
        regions = Regions(read_csv(stem(rom) + ".regions.csv"))
        candidates = scan(args.cli, rom)
        scores = dict(candidates)
        raw_scores = sorted((key[0], score) for key, score in candidates if not key[1])
        rom_wanted = rom_found = rom_printed = rom_true = 0
        for key, row in planted.items():
            if int(row["distinct"]) < 3:
                continue
            shown = key in scores and scores[key] >= args.min
            rom_wanted += 1
            planted_scores.append(scores.get(key, -1))
            rom_found += shown
            for g in groups(row):
                wanted[g] += 1
                found[g] += shown
                found_any[g] += key in scores
            if not shown:
                missed_why[why_missed(key, scores, raw_scores, args.min)] += 1
                details.append((rom, "missed", f"{key[0]:X}", int(key[1]), f"{key[2]:X}",
                                scores.get(key, ""), row["kind"], row["placement"],
                                row["distinct"], row["used"]))
        for key, score in candidates:
            cut = not key[1] and sum(t[0] == "palette" for t in regions.overlapping(
                key[0], key[0] + PALETTE_BYTES)) >= 2
            cuts_any += cut
            if cut:
                highest_cut = max(highest_cut, score)
            if score < args.min:
                continue
            rom_printed += 1
            cuts += cut
            if key in planted:
                rom_true += 1
                continue
            kind = false_class(key, regions)
            false_kinds[kind] += 1
            details.append((rom, "false", f"{key[0]:X}", int(key[1]), f"{key[2]:X}", score, kind,
                            "", "", ""))
        printed += rom_printed
        true += rom_true
        print(f"{os.path.basename(rom)}: recall {percent(rom_found, rom_wanted)} ({rom_found} of {rom_wanted}), "
              f"precision {percent(rom_true, rom_printed)} ({rom_true} of {rom_printed})")

    print(f"\nRecall of planted palettes with 3+ colours, at --min {args.min} and among all "
          "candidates (--min 0):")
    order = sorted(wanted, key=lambda g: (g != "all", g.split(" ")[0], g))
    for g in order:
        print(f"  {g:<36} {wanted[g]:6d}  {percent(found[g], wanted[g])}  "
              f"{percent(found_any[g], wanted[g])}")
    print(f"\nPrecision at --min {args.min}: {percent(true, printed)} ({true} of {printed}); "
          "false candidates by what they lie on:")
    for kind, n in false_kinds.most_common():
        print(f"  {kind:<36} {n:6d}  {percent(n, printed)} of printed")
    print(f"\nPrinted places across two planted palettes: {cuts} at --min {args.min}, "
          f"{cuts_any} among all candidates")
    safe = highest_cut + 1
    safe_found = sum(score >= safe for score in planted_scores)
    safe_recall = percent(safe_found, wanted["all"]).strip()
    print(f"None is printed from a score of {safe} up, where recall is {safe_recall} "
          f"({safe_found} of {wanted['all']})")
    print(f"\nMissed palettes by what the scan kept over them (of {sum(missed_why.values())}):")
    for why, n in missed_why.most_common():
        print(f"  {why:<56} {n:6d}  {percent(n, wanted['all'])} of planted")
    if args.details:
        with open(args.details, "w", newline="") as f:
            w = csv.writer(f)
            w.writerow(["rom", "what", "location", "compressed", "offset", "score", "kind",
                        "placement", "distinct", "used"])
            w.writerows(details)
    return 0


if __name__ == "__main__":
    sys.exit(main())
