#!/usr/bin/env python3
"""Fits the palette scanner's weights on rows written by zandrel_scan_dump and writes them
into src/core/scan/PaletteScore.cpp (tools/scan_fit/README.md).

  fit.py counts COUNTS.csv [--keep 0.995]   the cheap counts model and its bar, which keeps
                                            --keep of the planted palettes' windows
  fit.py alone ROWS.csv                     the first stage (the neighbours' evidence left out):
                                            its weights, then its trees over the windows they
                                            do not rule out (src/core/scan/AloneTrees.cpp)
  fit.py final ROWS.csv                     the final model, over all the evidence
  fit.py trees ROWS.csv                     the boosted trees that judge again the windows
                                            the final model keeps (src/core/scan/PaletteTrees.cpp)
  fit.py kept KEPT.csv [--cut-weight 5]     trees that take a second look at the windows the
                                            scan keeps, among the windows kept around them
                                            (src/core/scan/KeptTrees.cpp)

Needs numpy.
"""
import argparse
import bisect
import os
import re
import shutil
import subprocess
import sys

import numpy as np

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
HEADER = os.path.join(ROOT, "src", "core", "scan", "PaletteScore.h")
SOURCE = os.path.join(ROOT, "src", "core", "scan", "PaletteScore.cpp")
TREES = os.path.join(ROOT, "src", "core", "scan", "PaletteTrees.cpp")
TREES_HEADER = os.path.join(ROOT, "src", "core", "scan", "PaletteTrees.h")
ALONE_TREES = os.path.join(ROOT, "src", "core", "scan", "AloneTrees.cpp")
KEPT_HEADER = os.path.join(ROOT, "src", "core", "scan", "KeptScore.h")
KEPT_TREES = os.path.join(ROOT, "src", "core", "scan", "KeptTrees.cpp")
# The evidence of the neighbours, which the first stage does not see.
NEIGHBOURS = ("kPaletteBefore", "kPaletteAfter", "kTableBefore", "kTableAfter", "kAboveRivals",
              "kBelowRivals", "kGridAhead", "kGridBehind")


def evidence_names(header=HEADER, enum="Evidence", count="kEvidenceCount"):
    text = open(header).read()
    body = text[text.index("enum " + enum):text.index(count)]
    return re.findall(r"\b(k[A-Z]\w+),", body)


def logistic(X, y, sw, lam, regularised):
    """L2-regularised logistic regression by Newton steps."""
    w = np.zeros(X.shape[1])
    for _ in range(60):
        p = 1 / (1 + np.exp(-np.clip(X @ w, -30, 30)))
        g = X.T @ (sw * (p - y)) + lam * w * regularised
        H = (X * (sw * p * (1 - p))[:, None]).T @ X + lam * np.diag(regularised)
        step = np.linalg.solve(H + 1e-6 * np.eye(len(w)), g)
        w -= step
        if np.abs(step).max() < 1e-7:
            break
    return w


def replace(pattern, text, path=SOURCE):
    source = open(path).read()
    source, n = re.subn(pattern, text, source, flags=re.S)
    if n != 1:
        sys.exit("fit.py: the weights were not found in " + path)
    open(path, "w").write(source)


def constant(name, path):
    """The value of `constexpr ... name = value;` in `path`."""
    found = re.search(r"constexpr \S+ %s = ([^;]+);" % name, open(path).read())
    if not found:
        sys.exit(f"fit.py: {name} was not found in {path}")
    return found.group(1)


def fit_evidence(args):
    names = evidence_names()
    y, X, sw = read_rows(args.rows, args.synthetic_weight)
    X = X.astype(float)
    if args.model == "alone":
        for n in NEIGHBOURS:
            X[:, names.index(n)] = 0
    regularised = (np.arange(X.shape[1]) > 0).astype(float)  # not the bias
    w = logistic(X, y, sw, args.lam, regularised)
    p = 1 / (1 + np.exp(-(X @ w)))
    kept = p >= 0.5
    print(f"{len(y)} rows, {int(y.sum())} palettes; at even odds recall "
          f"{(kept & (y == 1)).sum() / max(1, (y == 1).sum()):.3f}, precision "
          f"{(kept & (y == 1)).sum() / max(1, kept.sum()):.3f}")
    for n, v in zip(names, w):
        print(f"  {n:20s} {v:8.3f}")
    name = "kAloneWeights" if args.model == "alone" else "kWeights"
    body = ", ".join(f"{v:.3f}f" for v in w)
    replace(r"constexpr EvidenceValues %s = \{[^;]*\};" % name,
            "constexpr EvidenceValues %s = {%s};" % (name, body))
    if args.model == "alone":
        # Its trees, over the windows the linear model does not rule out (as the scan asks them).
        rounded = np.array([float(f"{v:.3f}") for v in w])
        judged = 1 / (1 + np.exp(-(X @ rounded))) >= float(constant("kAloneTreesFloor", HEADER))
        base, trees = boost(y[judged], X[judged], sw[judged],
                            int(constant("kAloneTreeCount", TREES_HEADER)), args.rate)
        write_trees(ALONE_TREES, names, base, trees,
                    ("alone", "scan/PaletteTrees.h", "zandrel", "PaletteTree", "kAloneTrees",
                     "kAloneTreeCount", "kAloneTreesBase"))


def read_rows(path, synthetic_weight, rival_weight=1.0):
    """Labels, evidence and weights of the rows; a raw window that overlaps a planted palette
    without being one (it would cut across it) weighs `rival_weight`."""
    y, X, sw, places = [], [], [], []
    with open(path) as f:
        for line in f:
            p = line.rstrip("\n").split(",")
            y.append(float(p[0]))
            X.append([float(v) for v in p[5:]])
            synthetic = os.path.basename(p[1]).startswith("syn")
            sw.append(synthetic_weight if synthetic and p[0] == "1" else 1.0)
            places.append((p[1], int(p[2], 16)) if p[3] == "0" else None)
    planted = {place for place, label in zip(places, y) if place and label == 1}
    for k, place in enumerate(places):
        if place and y[k] == 0 and any((place[0], place[1] + d) in planted
                                       for d in range(-30, 32, 2)):
            sw[k] = rival_weight
    return np.array(y), np.array(X, dtype=np.float32), np.array(sw)


def boost(y, X, sw, count, rate):
    """Gradient-boosted trees of depth 3 over the evidence, split at quantiles of each value
    (32 bins), with Newton leaves; each tree is stored whole (7 splits, 8 leaves). Returns the
    base log-odds and the trees."""
    bins, lam = 32, 1.0
    edges = [np.unique(np.quantile(X[:, j], np.linspace(0, 1, bins + 1)[1:-1]))
             for j in range(X.shape[1])]
    Xb = np.stack([np.searchsorted(edges[j], X[:, j], side="right")
                   for j in range(X.shape[1])], 1)
    base = float(np.log((sw * y).sum() / (sw * (1 - y)).sum()))
    F = np.full(len(y), base)
    trees = []
    for _ in range(count):
        p = 1 / (1 + np.exp(-F))
        g, h = sw * (p - y), sw * p * (1 - p)
        splits, leaves = [(0, float("inf"))] * 7, [0.0] * 8
        node_rows = {0: np.arange(len(y))}
        for node in range(7):  # breadth first: node k has children 2k+1, 2k+2
            rows = node_rows.pop(node)
            best = (0.0, None, None)
            if len(rows) >= 50:
                G, H = g[rows].sum(), h[rows].sum()
                for j in range(X.shape[1]):
                    gs = np.bincount(Xb[rows, j], weights=g[rows], minlength=bins)
                    hs = np.bincount(Xb[rows, j], weights=h[rows], minlength=bins)
                    gl, hl = np.cumsum(gs)[:-1], np.cumsum(hs)[:-1]
                    gain = gl ** 2 / (hl + lam) + (G - gl) ** 2 / (H - hl + lam) - G ** 2 / (H + lam)
                    k = int(np.argmax(gain)) if len(gain) else 0
                    if len(gain) and gain[k] > best[0] and k < len(edges[j]):
                        best = (gain[k], j, k)
            if best[1] is None:
                below = np.ones(len(rows), bool)
            else:
                splits[node] = (best[1], float(edges[best[1]][best[2]]))
                below = Xb[rows, best[1]] <= best[2]
            node_rows[2 * node + 1], node_rows[2 * node + 2] = rows[below], rows[~below]
        for leaf in range(8):
            rows = node_rows[7 + leaf]
            leaves[leaf] = float(-g[rows].sum() / (h[rows].sum() + lam) * rate)
            F[rows] += leaves[leaf]
        trees.append((splits, leaves))
    p = 1 / (1 + np.exp(-F))
    kept = p >= 0.5
    print(f"{len(y)} rows, {int(y.sum())} palettes; at even odds recall "
          f"{(kept & (y == 1)).sum() / max(1, (y == 1).sum()):.3f}, precision "
          f"{(kept & (y == 1)).sum() / max(1, kept.sum()):.3f}")
    return base, trees


def write_trees(path, names, base, trees, what):
    """Writes the trees into `path` as `what` = (fit.py mode, header, namespace, tree type,
    array, its size, base)."""
    mode, header, namespace, tree, array, size, base_name = what

    def number(v):
        if v == float("inf"):
            return "kAlways"
        text = f"{v:.9g}"
        return text + ("f" if "." in text or "e" in text else ".0f")
    lines = []
    for splits, leaves in trees:
        lines.append("    {{{" + ", ".join(names[j] for j, _ in splits) + "}}, {{" +
                     ", ".join(number(t) for _, t in splits) + "}}, {{" +
                     ", ".join(f"{v:.5f}f" for v in leaves) + "}}},")
    open(path, "w").write(
        f"// Written by tools/scan_fit/fit.py {mode}: do not edit by hand.\n"
        f"#include \"{header}\"\n\n"
        "#include <limits>\n\n"
        f"namespace {namespace} {{\n\n"
        "namespace {\n"
        "constexpr float kAlways = std::numeric_limits<float>::infinity();\n"
        "} // namespace\n\n"
        f"const float {base_name} = {base:.6f}f;\n\n"
        f"const std::array<{tree}, {size}> {array} = {{{{\n" +
        "\n".join(lines) + f"\n}}}};\n\n}} // namespace {namespace}\n")
    if shutil.which("clang-format"):
        subprocess.run(["clang-format", "-i", path], check=False)


def fit_trees(args):
    """The trees that judge again the windows the final model keeps."""
    y, X, sw = read_rows(args.rows, args.synthetic_weight, args.rival_weight)
    base, trees = boost(y, X, sw, int(constant("kTreeCount", TREES_HEADER)), args.rate)
    write_trees(TREES, evidence_names(), base + args.shift, trees,
                ("trees", "scan/PaletteTrees.h", "zandrel", "PaletteTree", "kPaletteTrees",
                 "kTreeCount", "kTreesBase"))


def fit_kept(args):
    """Trees over the kept windows' evidence; a kept window that cuts across two planted
    palettes (the place a user must never be offered) weighs --cut-weight."""
    names = evidence_names(KEPT_HEADER, "KeptEvidence", "kKeptEvidenceCount")
    y, X, sw, planted = [], [], [], {}
    for line in open(args.rows):
        p = line.rstrip("\n").split(",")
        rom, at = p[1], int(p[2], 16)
        if rom not in planted:
            with open(rom[:-4] + ".palettes.csv") as f:
                next(f)
                planted[rom] = sorted(int(r.split(",")[0], 16) for r in f
                                      if r.split(",")[1] == "0")
        starts = planted[rom]
        first = bisect.bisect_left(starts, at - 2 * 16 + 1)
        across = bisect.bisect_left(starts, at + 2 * 16) - first
        y.append(float(p[0]))
        X.append([float(v) for v in p[5:]])
        sw.append(args.cut_weight if p[0] == "0" and across >= 2 else 1.0)
    y, X, sw = np.array(y), np.array(X, dtype=np.float32), np.array(sw)
    base, trees = boost(y, X, sw, int(constant("kKeptTreeCount", KEPT_HEADER)), args.rate)
    write_trees(KEPT_TREES, names, base + args.shift, trees,
                ("kept", "scan/KeptScore.h", "zandrel::scan", "KeptTree", "kKeptTrees",
                 "kKeptTreeCount", "kKeptTreesBase"))


def fit_counts(args):
    d = np.loadtxt(args.rows, delimiter=",")
    y, C = d[:, 0], d[:, 1:]
    climb, fall = 12, 13  # kClimbPairs, kFallPairs
    X = np.hstack([C, np.ones((len(y), 1)), np.maximum(C[:, climb], C[:, fall])[:, None]])
    sw = np.where(y == 1, 1.0, 8.0)  # one window in 8 of the others was written
    w = logistic(X, y, sw, args.lam, np.ones(X.shape[1]))
    z = X @ w
    bar = np.quantile(z[y == 1], 1 - args.keep)
    print(f"bar {bar:.3f}: keeps {(z[y == 1] >= bar).mean():.4f} of the palettes, "
          f"{((z >= bar) * sw).sum() / sw.sum():.4f} of the windows")
    init = ("{{" + ", ".join(f"{v:.4f}f" for v in w[:16]) + "}, " +
            f"{w[16]:.4f}f, {w[17]:.4f}f, {bar:.3f}f" + "}")
    replace(r"constexpr CountModel kCountModel = \{.*?\};",
            "constexpr CountModel kCountModel = " + init + ";")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("model", choices=["counts", "alone", "final", "trees", "kept"])
    parser.add_argument("--rate", type=float, default=0.2)
    parser.add_argument("--shift", type=float, default=0.0,
                        help="added to the trees' log-odds (they are less sure on art they "
                             "were not fitted on)")
    parser.add_argument("--cut-weight", type=float, default=1.0,
                        help="weight of the kept windows across two planted palettes (kept)")
    parser.add_argument("--rival-weight", type=float, default=1.0,
                        help="weight of the windows across a planted palette (trees)")
    parser.add_argument("rows")
    parser.add_argument("--lam", type=float, default=1.0)
    parser.add_argument("--keep", type=float, default=0.995)
    parser.add_argument("--synthetic-weight", type=float, default=2.0,
                        help="weight of the synthetic generator's palettes (ROMs named syn*)")
    args = parser.parse_args()
    if args.model == "counts":
        fit_counts(args)
    elif args.model == "trees":
        fit_trees(args)
        return 0
    elif args.model == "kept":
        fit_kept(args)
        return 0
    else:
        fit_evidence(args)
    if shutil.which("clang-format"):  # the weights laid out as the rest of the code
        subprocess.run(["clang-format", "-i", SOURCE], check=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
