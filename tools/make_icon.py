#!/usr/bin/env python3
"""Draws the program's icon: a 4 x 4 grid of colour swatches on a rounded square.

packaging/icons/zandrel.svg        the scalable icon
packaging/icons/zandrel-N.png      the same shapes rasterised at N x N pixels (16 to 256)

The sixteen swatches are GBA colour words shown as the program shows them (a 5-bit component
c becomes the integer part of c x 8.25), one ramp per row: warm, green, blue, grey.
Both outputs are drawn from the one list of shapes below, in a 256 x 256 canvas; the PNGs are
anti-aliased by each pixel's distance to a shape's edge.

Usage: tools/make_icon.py [OUTPUT_FOLDER]   (default: packaging/icons/)
Only the standard library is used; the output is the same on every run. The build installs
the files committed in packaging/icons/ and does not run this.
"""
import math
import os
import struct
import sys
import zlib

CANVAS = 256
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

SWATCH_WORDS = [
    0x001F, 0x023F, 0x03BF, 0x4ABF,  # red, orange, yellow, skin
    0x0100, 0x01E0, 0x0EE7, 0x2BF4,  # greens
    0x3C00, 0x7D40, 0x7E88, 0x7F95,  # blues
    0x0C63, 0x294A, 0x4E73, 0x7FFF,  # greys to white
]
BACKGROUND_WORD = 0x2484          # dark slate
BACKGROUND = (8, 8, 248, 248, 40)  # x0, y0, x1, y1, corner radius
GRID_ORIGIN, SWATCH, GAP, SWATCH_RADIUS = 32, 42, 8, 8


def word_to_rgb(word):
    return tuple((word >> shift & 31) * 33 // 4 for shift in (0, 5, 10))


def shapes():
    """(rect, rgb) from back to front, rect as (x0, y0, x1, y1, radius) in canvas units."""
    out = [(BACKGROUND, word_to_rgb(BACKGROUND_WORD))]
    for index, word in enumerate(SWATCH_WORDS):
        row, column = divmod(index, 4)
        x0 = GRID_ORIGIN + column * (SWATCH + GAP)
        y0 = GRID_ORIGIN + row * (SWATCH + GAP)
        out.append(((x0, y0, x0 + SWATCH, y0 + SWATCH, SWATCH_RADIUS), word_to_rgb(word)))
    return out


def svg_text():
    lines = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{CANVAS}" height="{CANVAS}" '
             f'viewBox="0 0 {CANVAS} {CANVAS}">']
    for (x0, y0, x1, y1, radius), rgb in shapes():
        lines.append(f'  <rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" '
                     f'rx="{radius}" fill="#{rgb[0]:02x}{rgb[1]:02x}{rgb[2]:02x}"/>')
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def distance_to_rounded_rect(px, py, rect):
    """Signed distance from a point to a rounded rectangle's edge (negative inside)."""
    x0, y0, x1, y1, radius = rect
    qx = abs(px - (x0 + x1) / 2) - ((x1 - x0) / 2 - radius)
    qy = abs(py - (y0 + y1) / 2) - ((y1 - y0) / 2 - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def rasterise(size):
    """RGBA rows with straight alpha: each shape's coverage composited over the ones behind."""
    scale = size / CANVAS
    drawn = shapes()
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            u, v = (x + 0.5) / scale, (y + 0.5) / scale
            r = g = b = a = 0.0
            for rect, rgb in drawn:
                coverage = min(max(0.5 - distance_to_rounded_rect(u, v, rect) * scale, 0.0), 1.0)
                if coverage == 0.0:
                    continue
                out_a = coverage + a * (1 - coverage)
                mix = coverage / out_a
                r, g, b = (c + (n - c) * mix for c, n in zip((r, g, b), rgb))
                a = out_a
            row += bytes((round(r), round(g), round(b), round(a * 255)))
        rows.append(bytes(row))
    return rows


def png_bytes(rows, size):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA, no interlace
    raw = b"".join(b"\x00" + row for row in rows)                # filter 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "packaging", "icons")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "zandrel.svg"), "w", encoding="utf-8", newline="\n") as f:
        f.write(svg_text())
    for size in PNG_SIZES:
        path = os.path.join(folder, f"zandrel-{size}.png")
        with open(path, "wb") as f:
            f.write(png_bytes(rasterise(size), size))
        print(f"wrote {path}")


if __name__ == "__main__":
    main()
