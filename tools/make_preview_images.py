#!/usr/bin/env python3
"""Draws the two sample images that the preview shows in the palette being edited.

data/preview01.gif: a hero on tiled grass and dirt, with hills, clouds and a tree.
data/preview02.gif: a castle wall with a lit gate and a moat, under a night sky.

Each is a 403 x 140 GIF89a with a 16-entry global colour table; every pixel uses one of the
entries 0 to 15, so all of the picture takes the palette's colours. The program rewrites the
table (bytes 13 to 60) before every preview; the table written here is only the first one.

The pictures are drawn by brightness: entry 0 is the darkest (outlines), 1 to 15 go from dark
to light. Most game palettes are such ramps, so the scenes read well in almost any of them.
Art is drawn at half size and doubled, as a handheld's pixels look.

Usage: tools/make_preview_images.py [OUTPUT_FOLDER]   (default: data/)
Only the standard library is used; the output is the same on every run.
"""
import math
import os
import random
import struct
import sys

WIDTH, HEIGHT = 403, 140
SCALE = 2
ART_W, ART_H = (WIDTH + SCALE - 1) // SCALE, HEIGHT // SCALE  # 202 x 70

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def ramp(stops, count):
    points = [hexrgb(s) for s in stops]
    out = []
    for k in range(count):
        t = k * (len(points) - 1) / (count - 1)
        i = min(int(t), len(points) - 2)
        f = t - i
        a, b = points[i], points[i + 1]
        out.append(tuple(round(a[c] + (b[c] - a[c]) * f) for c in range(3)))
    return out


# The first table: black, then a ramp from night blue through green to pale yellow.
DEFAULT_TABLE = [(0, 0, 0)] + ramp(
    ["#10102a", "#2a3270", "#2c7460", "#7cb040", "#e8e090", "#ffffff"], 15)


class Canvas:
    def __init__(self, w, h, fill=0):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fills x0 <= x < x1, y0 <= y < y1."""
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def hline(self, x0, x1, y, c):
        self.rect(x0, y, x1, y + 1, c)

    def vline(self, x, y0, y1, c):
        self.rect(x, y0, x + 1, y1, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def gradient(self, y0, y1, c0, c1, x0=0, x1=None):
        """Vertical dithered blend from level c0 at y0 to c1 at y1."""
        x1 = self.w if x1 is None else x1
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1) * (c1 - c0)
            base = c0 + math.floor(t) if c1 >= c0 else c0 - math.floor(-t)
            frac = abs(t - math.trunc(t))
            step = 1 if c1 >= c0 else -1
            for x in range(x0, x1):
                c = base + step if frac * 16 > BAYER4[y % 4][x % 4] + 0.5 else base
                self.set(x, y, max(0, min(15, c)))

    def sprite(self, x, y, rows, colours, flip=False):
        for dy, row in enumerate(rows):
            if flip:
                row = row[::-1]
            for dx, ch in enumerate(row):
                if ch != ".":
                    self.set(x + dx, y + dy, colours[ch])

    def outline(self, region, c):
        """Draws colour c on every pixel next to `region` (a set of points) but outside it."""
        for (x, y) in region:
            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if (nx, ny) not in region:
                    self.set(nx, ny, c)

    def scaled(self, factor, width, height):
        out = []
        for y in range(height):
            src = self.px[y // factor]
            out.append([src[x // factor] for x in range(width)])
        return out


HERO = [
    "......KKKKK.......",
    "....KKhhhhhKK.....",
    "...KhhHHHhhhhK....",
    "..KhhHhhhhhhhhK...",
    "..KhhhhhhhhhhhK...",
    "..KhhsssssshhhK...",
    "..KhssKsssKshK....",
    "...KssKwssKwsK....",
    "...KsssssssssK....",
    "....KsssSSssK.....",
    ".....KKSSSKK......",
    "....KttttttttK....",
    "...KtTttbbttTtK...",
    "..KsKtttbbtttKsK..",
    "..KsKTttttttTKsK..",
    "..KSKTttttttTKSK..",
    "...KKbbbBbbbbKK...",
    "....KttttttttK....",
    "....KTttKKttTK....",
    "....KppK..KppK....",
    "....KppK..KppK....",
    "...KoooK..KoooK...",
    "..KooooK..KooooK..",
    "..KKKKKK..KKKKKK..",
]
HERO_COLOURS = {"K": 0, "h": 5, "H": 7, "s": 13, "S": 11, "w": 15, "t": 9, "T": 7,
                "b": 3, "B": 12, "p": 6, "o": 4}

HEART = [
    ".KK.KK.",
    "KrwKrrK",
    "KrrrrrK",
    ".KrrrK.",
    "..KrK..",
    "...K...",
]

COIN = [
    ".KKKK.",
    "KywyyK",
    "KwyYyK",
    "KyyYyK",
    "KyyyyK",
    ".KKKK.",
]

BAT = [
    "K.........K",
    "KK..K.K..KK",
    "KKK.KKK.KKK",
    ".KKKKKKKKK.",
    "..KK.K.KK..",
]


def scene_meadow():
    rnd = random.Random(1)
    c = Canvas(ART_W, ART_H)
    ground = 52

    # Sky, sun and clouds.
    c.gradient(0, 44, 11, 14)
    c.disc(112, 11, 7.5, 14)
    c.disc(112, 11, 6, 15)
    for cx, cy, parts in ((58, 12, [(0, 0, 5), (6, -2, 6), (12, 0, 5), (5, 2, 5)]),
                          (140, 20, [(0, 0, 4), (5, -2, 5), (10, 0, 4)])):
        for dx, dy, r in parts:
            c.disc(cx + dx, cy + dy + 1, r, 13)
        for dx, dy, r in parts:
            c.disc(cx + dx, cy + dy, r, 15)

    # Two rows of hills.
    for x in range(c.w):
        far = 36 + 4 * math.sin(x / 14.0) + 2 * math.sin(x / 5.3 + 1)
        near = 44 + 3 * math.sin(x / 9.0 + 2) + 1.5 * math.sin(x / 3.7)
        for y in range(int(far), ground):
            c.set(x, y, 12 if y - far < 1.5 and x % 3 else 11)
        for y in range(int(near), ground):
            c.set(x, y, 10 if y - near < 1.2 else 9)
    # Bushes along the foot of the hills.
    for bx in (8, 84, 126, 192):
        for dx, r in ((0, 4), (5, 5), (10, 4)):
            c.disc(bx + dx, ground - 2, r, 7)
        for dx, r in ((0, 3), (5, 4), (10, 3)):
            c.disc(bx + dx - 1, ground - 3, r - 1, 8)

    # The tree: trunk with bark, crown lit from the upper left.
    for y in range(30, ground):
        flare = 2 if y > ground - 4 else 0
        for x in range(160 - flare, 168 + flare):
            shade = 5 if x < 162 else (3 if x > 165 else 4)
            if (x + y // 3) % 5 == 0:
                shade = 3
            c.set(x, y, shade)
    crown = set()
    for cx, cy, r in ((163, 21, 13), (151, 27, 9), (176, 26, 10), (163, 10, 8), (170, 14, 8),
                      (155, 15, 8)):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    crown.add((x, y))
    for (x, y) in crown:
        light = (158 - x) * 0.6 + (14 - y)
        level = 7 + max(-2, min(3, round(light / 6)))
        if rnd.random() < 0.18:
            level += rnd.choice((-1, 1))
        c.set(x, y, max(4, min(10, level)))
    c.outline(crown, 2)

    # Ground: grass on top, bevelled dirt blocks below.
    c.rect(0, ground, c.w, ground + 4, 9)
    c.hline(0, c.w, ground, 11)
    for x in range(c.w):
        if x % 4 in (0, 1):
            c.set(x, ground - 1, 10 if x % 8 < 4 else 9)
        if x % 7 == 3:
            c.set(x, ground - 2, 9)
        c.set(x, ground + 4, 7 if x % 3 else 6)
        if x % 5 == 2:
            c.set(x, ground + 5, 7)
    top = ground + 5
    for y in range(top, c.h):
        for x in range(c.w):
            tx, ty = x % 10, (y - top) % 8
            if ty == 0 or tx == 0:
                level = 6
            elif ty == 7 or tx == 9:
                level = 3
            else:
                level = 5
            c.set(x, y, level)
    for _ in range(40):
        x, y = rnd.randrange(c.w), rnd.randrange(top + 1, c.h)
        if c.get(x, y) == 5:
            c.set(x, y, 4)
            c.set(x + 1, y, 6)

    # The hero, a coin to catch, and the hearts of the status bar.
    c.sprite(38, ground - len(HERO), HERO, HERO_COLOURS)
    for i in range(3):
        c.sprite(78 + i * 10, 22 + (i % 2) * 3, COIN, {"K": 1, "y": 14, "Y": 11, "w": 15})
    for i in range(3):
        c.sprite(3 + i * 8, 3, HEART, {"K": 0, "r": 14 if i < 2 else 9, "w": 15})
    return c


def scene_castle():
    rnd = random.Random(2)
    c = Canvas(ART_W, ART_H)
    bank = 56

    # Night sky with stars and a crescent moon.
    c.gradient(0, 50, 1, 4)
    for _ in range(70):
        x, y = rnd.randrange(c.w), rnd.randrange(40)
        c.set(x, y, rnd.choice((9, 12, 15)))
    c.disc(26, 13, 8, 15)
    c.disc(29, 11, 7, 1)
    c.disc(23, 17, 1.2, 13)
    c.sprite(55, 9, BAT, {"K": 0})
    c.sprite(70, 17, BAT[1:], {"K": 0})

    # Far hills and pines on the left.
    for x in range(0, 60):
        h = 40 + 4 * math.sin(x / 8.0)
        for y in range(int(h), bank):
            c.set(x, y, 2)
    for px in (6, 18, 31, 44):
        for y in range(30, bank):
            half = (y - 30) // 3 + 1
            c.hline(px - half, px + half + 1, y, 2 if (y + px) % 6 else 3)

    # The wall and its tower, brick by brick.
    wall_top, tower_l, tower_r, tower_top = 28, 120, 152, 13

    def brickwork(x0, x1, y0, y1):
        for y in range(y0, y1):
            row = (y - y0) // 5
            for x in range(x0, x1):
                bx = (x - x0 + (5 if row % 2 else 0)) % 10
                by = (y - y0) % 5
                if by == 4 or bx == 9:
                    level = 4
                else:
                    rnd_level = BRICK_TONES[(row * 31 + (x - x0 + (5 if row % 2 else 0)) // 10) % 7]
                    level = rnd_level + (1 if by == 0 or bx == 0 else 0)
                c.set(x, y, level)

    # A knight keeps watch behind the battlement.
    c.sprite(170, wall_top - len(HERO) + 2, HERO,
             dict(HERO_COLOURS, h=6, H=8, t=8, T=6, s=12, S=10), flip=True)
    brickwork(60, c.w, wall_top, bank)
    for mx in range(60, c.w, 10):
        brickwork(mx, mx + 6, wall_top - 5, wall_top)
    brickwork(tower_l, tower_r, tower_top, wall_top)
    for mx in range(tower_l - 2, tower_r + 2, 8):
        brickwork(mx, mx + 5, tower_top - 5, tower_top)
    c.hline(tower_l - 2, tower_r + 2, tower_top, 5)
    c.vline(tower_l, tower_top, wall_top, 5)
    c.vline(tower_r - 1, tower_top, bank, 3)

    # A lit window in the tower and a flag on top.
    for y in range(17, 27):
        for x in range(131, 141):
            if y >= 20 or (x - 135.5) ** 2 + (y - 20) ** 2 <= 20:
                c.set(x, y, 13 if (x + y) % 7 else 14)
    c.vline(136, 16, 27, 3)
    c.hline(131, 141, 22, 3)
    c.vline(136, 0, tower_top - 5, 6)
    for i, y in enumerate(range(1, 6)):
        wave = round(1.5 * math.sin(i * 1.3))
        c.hline(137, 147 + wave - i // 2, y, 11 if i % 2 else 10)

    # The gate: a dark arch with a raised portcullis, torches at each side.
    gl, gr, gt = 80, 102, 36
    for y in range(gt - 4, bank):
        for x in range(gl - 2, gr + 2):
            cx = (gl + gr) / 2
            r = (gr - gl) / 2 + 2
            if y >= gt or (x - cx) ** 2 / r ** 2 + (y - gt) ** 2 / 16 <= 1:
                c.set(x, y, 6)
    for y in range(gt - 3, bank):
        for x in range(gl, gr):
            cx = (gl + gr) / 2
            r = (gr - gl) / 2
            if y >= gt or (x - cx) ** 2 / r ** 2 + (y - gt) ** 2 / 9 <= 1:
                c.set(x, y, 0 if y > gt + 10 else 1)
    for x in range(gl + 2, gr, 4):
        c.vline(x, gt - 2, gt + 8, 5)
    for y in range(gt, gt + 9, 3):
        c.hline(gl + 1, gr - 1, y, 5)
    for tx in (gl - 8, gr + 6):
        c.rect(tx, 40, tx + 3, 42, 3)
        c.vline(tx + 1, 42, 46, 3)
        c.disc(tx + 1, 37, 2.5, 12)
        c.disc(tx + 1, 38, 1.5, 15)
        c.set(tx + 1, 34, 12)

    # Stone bank and the moat, with the moon, window and torches mirrored in it.
    c.rect(0, bank, c.w, bank + 2, 6)
    c.hline(0, c.w, bank, 8)
    c.gradient(bank + 2, c.h, 4, 2)
    for y in range(bank + 3, c.h, 2):
        shift = (y * 7) % 11
        for x in range(shift, c.w, 11):
            c.hline(x, x + 4, y, 5)
    for (rx, w, level) in ((26, 8, 12), (136, 8, 11), (gl - 7, 3, 10), (gr + 7, 3, 10)):
        for k, y in enumerate(range(bank + 3, c.h - 1, 2)):
            off = rnd.randrange(-1, 2)
            c.hline(rx - w // 2 + off + k % 2, rx + w // 2 + off - k // 3, y, level)

    return c


BRICK_TONES = [7, 8, 7, 6, 8, 7, 9]


def lzw_encode(pixels, min_code_size):
    """GIF LZW: variable-width codes, packed least-significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, acc, nbits = bytearray(), 0, 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = b""
    for p in pixels:
        candidate = prefix + bytes([p])
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = reset()
        prefix = bytes([p])
    if prefix:
        emit(table[prefix], width)
    emit(end, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_bytes(rows, table):
    height, width = len(rows), len(rows[0])
    assert len(table) == 16 and all(0 <= p < 16 for row in rows for p in row)
    data = bytearray(b"GIF89a")
    # Global colour table present, 4 bits per primary, 2^(3+1) = 16 entries.
    data += struct.pack("<HHBBB", width, height, 0x80 | 0x30 | 0x03, 0, 0)
    for r, g, b in table:
        data += bytes((r, g, b))
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    min_code_size = 4
    data.append(min_code_size)
    stream = lzw_encode([p for row in rows for p in row], min_code_size)
    for i in range(0, len(stream), 255):
        block = stream[i:i + 255]
        data.append(len(block))
        data += block
    data.append(0)
    data.append(0x3B)
    return bytes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data")
    os.makedirs(folder, exist_ok=True)
    for name, scene in (("preview01.gif", scene_meadow), ("preview02.gif", scene_castle)):
        rows = scene().scaled(SCALE, WIDTH, HEIGHT)
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(gif_bytes(rows, DEFAULT_TABLE))
        print(f"wrote {path}")


if __name__ == "__main__":
    main()
