#!/usr/bin/env python3
"""Writes a GBA ROM image assembled from real material, with the exact list of the palettes
planted in it and of every region's kind.

The material (tools/realrom-material/, made by tools/extract_realrom_material.py from Debian
packages) comes in two sets: `tune`, which a scanner may be tuned on, and `held`, which it
must never be tuned on (nor on seeds from 9000 up). A ROM is made of one set only:
  - Thumb code of the embedded toolchain's C library, relocated to its place in the ROM
    (literal pools of 08xxxxxx, 03xxxxxx and 02xxxxxx words, BL to placed functions), and the
    library's read-only tables;
  - pixel art of free games cut into 4bpp sprites and backgrounds (raw or LZ77 tiles, raw or
    LZ77 tilemaps that reuse flipped tiles) and 8bpp backgrounds; each object's palette keeps
    the artist's colour order, reduced to 16 colours when it has more;
  - slices of paint programs' palette files, fades of the art's palettes (dark, pale), EGA
    colours, single-hue ramps, palettes of 3 to 8 colours;
  - signed 8-bit sound samples (from .wav files) and modules, ASCII text and text in a
    one-byte character table, game-like numeric tables (sines, curves), object and pointer
    tables, zero and 0xFF padding.
Palettes are planted alone, in tables at a 32-byte step, as banks of background palettes
sharing colour 0 with unused slots and palettes, right after or before their tiles, after a
16-bit header (2 bytes off a 4-byte boundary), or in LZ77 blocks of 1 to 16 palettes; ROM
pointers reach some of them.

Beside NAME.gba it writes NAME.palettes.csv, one planted palette a line:
    location,compressed,offset,distinct,used,kind,placement,pointed
(location and offset in hex; offset is the byte offset in the decompressed block; distinct
counts different words of the 16, used the slots up to the last non-zero word; pointed is 1
when a ROM pointer names the palette or its block), and NAME.regions.csv:
    start,end,kind
covering every byte of the file (end exclusive, hex).

Kinds (where the colours come from): sprite, bank (a background's bank), bg256 (16 colours of
an 8bpp picture's 256), few (any of these with 8 distinct words or fewer), paint (a palette
file), dark, pale (fades of an object's palette), ega, ramp, unused (a bank's palette left at
zero). Placements: after-tiles, after-lztiles, before-tiles, table, header (after a 16-bit
header), header-table, alone, bank, 256, and lz, lz-table, lz-bank, lz-256 for LZ77 blocks.
Region kinds: header, code, rodata (the library's tables), table (numeric), pointers,
objects, tiles4, tiles8, lztiles, tilemap, lztilemap, palette (one planted palette),
lzpalettes, header16, sound, music, text-ascii, text-charset, padding.

With --half 0 or 1 only every other picture and palette file of the set is used: a fit on one
half checked on the other shows how a scanner holds on art it was not fitted on, without
touching the held-out set.

Usage: tools/make_real_rom.py OUTPUT.gba [--seed N] [--set tune|held] [--half 0|1] [--size BYTES]
"""
import argparse
import collections
import math
import os
import random
import struct
import sys
import wave
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_synthetic_rom import lz77_compress, lz77_decompress  # noqa: E402

ROM_BASE = 0x08000000
MATERIAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "realrom-material")
HELD_SEEDS_FROM = 9000
# code.bin's relocations (tools/extract_realrom_material.py): kinds and what they name.
R_ARM_ABS32 = 2
TARGET_CODE, TARGET_ROM, TARGET_RAM, TARGET_EXTERN_CALL, TARGET_EXTERN_DATA = range(5)

EGA = [(0, 0, 0), (0, 0, 170), (0, 170, 0), (0, 170, 170), (170, 0, 0), (170, 0, 170),
       (170, 85, 0), (170, 170, 170), (85, 85, 85), (85, 85, 255), (85, 255, 85),
       (85, 255, 255), (255, 85, 85), (255, 85, 255), (255, 255, 85), (255, 255, 255)]


# --- Colours ---------------------------------------------------------------------------------

def gba(rgb):
    """An 8-bit RGB colour as a GBA colour word, the way converters cut it."""
    r, g, b = rgb
    return r >> 3 | (g >> 3) << 5 | (b >> 3) << 10


def components(word):
    return word & 31, word >> 5 & 31, word >> 10 & 31


def from_components(r, g, b):
    return int(r) | int(g) << 5 | int(b) << 10


def palette_bytes(words):
    assert len(words) == 16
    return b"".join(struct.pack("<H", w) for w in words)


def distinct(words):
    return len(set(words))


def used(words):
    n = len(words)
    while n > 0 and words[n - 1] == 0:
        n -= 1
    return n


# --- Material --------------------------------------------------------------------------------

def read_png(path):
    """(width, height, palette of RGB, indexes, transparent index or None) of a PNG without
    interlace. Truecolour images get a palette in the order colours first appear."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    at, idat, palette, alpha = 8, b"", [], None
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert interlace == 0, path
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, length - 2, 3)]
        elif kind == b"tRNS" and colour == 3:
            alpha = body
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    bits = depth * channels
    stride = (width * bits + 7) // 8
    step = max(1, bits // 8)
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - step] if i >= step else 0
            up = previous[i]
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                corner = previous[i - step] if i >= step else 0
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc
                                    else corner)) & 0xFF
        rows.append(bytes(row))
        previous = row
    transparent = None
    if colour == 3:
        if alpha:
            transparent = next((i for i, a in enumerate(alpha) if a == 0), None)
        indexes = []
        for row in rows:
            if depth == 8:
                indexes += row[:width]
            else:
                per = 8 // depth
                for x in range(width):
                    byte = row[x // per]
                    indexes.append(byte >> (8 - depth * (x % per + 1)) & ((1 << depth) - 1))
        return width, height, palette, indexes, transparent
    assert depth == 8, path
    seen, indexes = {}, []
    for row in rows:
        for x in range(width):
            px = row[x * channels:(x + 1) * channels]
            rgb = (px[0],) * 3 if channels <= 2 else tuple(px[:3])
            if channels in (2, 4) and px[-1] == 0:
                rgb = (0, 0, 0)
                if transparent is None:
                    transparent = seen.setdefault(rgb, len(seen))
            indexes.append(seen.setdefault(rgb, len(seen)))
    return width, height, list(seen), indexes, transparent


def read_gpl(path):
    """The colours of a GIMP palette file, in the file's order."""
    colours = []
    for line in open(path, encoding="utf-8", errors="replace"):
        parts = line.split()
        if len(parts) >= 3 and all(p.isdigit() for p in parts[:3]):
            colours.append(tuple(int(p) for p in parts[:3]))
    return colours


def read_wav(path):
    """Signed 8-bit mono PCM of a .wav file (the high byte of 16-bit samples)."""
    with wave.open(path) as w:
        width, channels, frames = w.getsampwidth(), w.getnchannels(), w.readframes(w.getnframes())
        rate = w.getframerate()
    step = width * channels
    if width == 1:
        pcm = bytes(b ^ 0x80 for b in frames[::step])
    else:
        pcm = bytes(frames[i + width - 1] for i in range(0, len(frames) - step + 1, step))
    return rate, pcm


def read_code(path):
    """(kind, name, bytes, relocations) of each section in code.bin."""
    data = open(path, "rb").read()
    assert data[:4] == b"ZRRC"
    count, = struct.unpack_from("<I", data, 4)
    at, out = 8, []
    for _ in range(count):
        kind, length = data[at], data[at + 1]
        name = data[at + 2:at + 2 + length].decode()
        at += 2 + length
        size, = struct.unpack_from("<I", data, at)
        body = data[at + 4:at + 4 + size]
        at += 4 + size
        n, = struct.unpack_from("<H", data, at)
        at += 2
        relocations = [struct.unpack_from("<IBB", data, at + 6 * k) for k in range(n)]
        at += 6 * n
        out.append((kind, name, body, relocations))
    return out


class Material:
    def __init__(self, item_set, half=None):
        root = os.path.join(MATERIAL, item_set)
        listing = lambda kind: sorted(os.path.join(root, kind, n)
                                      for n in os.listdir(os.path.join(root, kind)))
        halved = lambda paths: paths if half is None else paths[half::2]
        self.art = [read_png(p) for p in halved(listing("art"))]
        self.paint = [c for c in (read_gpl(p) for p in halved(listing("palettes")))
                      if len(c) >= 3]
        self.sounds = [read_wav(p) for p in listing("sound")]
        self.music = [open(p, "rb").read() for p in listing("music")]
        self.text = []
        for p in listing("text"):
            for line in open(p, encoding="utf-8", errors="replace"):
                line = " ".join(line.replace("#", " ").split())
                if len(line) >= 4 and line.isascii():
                    self.text.append(line)
        sections = read_code(os.path.join(root, "code", "code.bin"))
        self.code = [s for s in sections if s[0] == 0 and len(s[2]) >= 8]
        self.rodata = [s for s in sections if s[0] == 1 and len(s[2]) >= 16]


# --- Pictures into GBA data ------------------------------------------------------------------

def crop(image, rng, tiles_wide, tiles_high, fewest_colours=2):
    """Indexes of a crop of whole tiles holding at least `fewest_colours` colours, or None."""
    width, height, _, indexes, _ = image
    w, h = 8 * tiles_wide, 8 * tiles_high
    if w > width or h > height:
        return None
    for _ in range(12):
        x, y = rng.randrange(0, width - w + 1), rng.randrange(0, height - h + 1)
        pixels = [indexes[(y + j) * width + x + i] for j in range(h) for i in range(w)]
        counts = {}
        for p in pixels:
            counts[p] = counts.get(p, 0) + 1
        if len(counts) >= fewest_colours and max(counts.values()) < 0.9 * len(pixels):
            return pixels, counts
    return None


def object_palette(image, counts, backdrop=None):
    """The crop's colours in the artist's order (palette index order), merged down to 16
    (15 after a given backdrop colour 0) by folding the rarest into its nearest; returns the
    16 words and the map from image index to palette slot."""
    palette = image[2]
    order = sorted(counts)
    limit = 16 if backdrop is None else 15
    merged = {i: i for i in order}
    alive = list(order)
    while len(alive) > limit:
        rare = min(alive, key=lambda i: (counts[i], i))
        alive.remove(rare)
        near = min(alive, key=lambda j: sum((a - b) ** 2 for a, b in
                                            zip(palette[rare], palette[j])))
        counts[near] += counts[rare]
        for k, v in merged.items():
            if v == rare:
                merged[k] = near
    first = 0 if backdrop is None else 1
    slot = {i: first + alive.index(merged[i]) for i in order}
    words = ([] if backdrop is None else [backdrop]) + [gba(palette[i]) for i in alive]
    return words + [0] * (16 - len(words)), slot


def tiles_4bpp(pixels, slot, tiles_wide, tiles_high):
    out = bytearray()
    w = 8 * tiles_wide
    for ty in range(tiles_high):
        for tx in range(tiles_wide):
            for y in range(8):
                row = pixels[(8 * ty + y) * w + 8 * tx:(8 * ty + y) * w + 8 * tx + 8]
                for x in range(0, 8, 2):
                    out.append(slot[row[x]] & 15 | (slot[row[x + 1]] & 15) << 4)
    return bytes(out)


def tiles_8bpp(pixels, tiles_wide, tiles_high):
    out = bytearray()
    w = 8 * tiles_wide
    for ty in range(tiles_high):
        for tx in range(tiles_wide):
            for y in range(8):
                out += bytes(pixels[(8 * ty + y) * w + 8 * tx:(8 * ty + y) * w + 8 * tx + 8])
    return bytes(out)


def tilemap(tiles, tile_bytes, banks=None):
    """Unique tiles (a flipped copy reuses its tile) and the map of 16-bit entries; `banks`
    gives each tile's palette (4bpp)."""
    rows = tile_bytes // 8

    def hflip(t):
        if tile_bytes == 32:
            return b"".join(bytes(((b & 15) << 4 | b >> 4) for b in reversed(t[r * 4:r * 4 + 4]))
                            for r in range(8))
        return b"".join(bytes(reversed(t[r * 8:r * 8 + 8])) for r in range(8))

    def vflip(t):
        return b"".join(t[(7 - r) * rows:(8 - r) * rows] for r in range(8))

    unique, where, entries = [], {}, []
    for k in range(0, len(tiles), tile_bytes):
        t = tiles[k:k + tile_bytes]
        bank = banks[k // tile_bytes] if banks else 0
        for flips, variant in ((0, t), (1, hflip(t)), (2, vflip(t)), (3, vflip(hflip(t)))):
            if variant in where:
                entries.append(where[variant] | flips << 10 | bank << 12)
                break
        else:
            where[t] = len(unique)
            unique.append(t)
            entries.append(where[t] | bank << 12)
    return b"".join(unique), b"".join(struct.pack("<H", e) for e in entries)


# --- Other content ---------------------------------------------------------------------------

CHARSET = {" ": 0x00, "\n": 0xFE}
for k, c in enumerate("0123456789"):
    CHARSET[c] = 0xA1 + k
for k, c in enumerate("!?.-,'\":;()"):
    CHARSET[c] = 0xAB + k
for k in range(26):
    CHARSET[chr(65 + k)] = 0xBB + k
    CHARSET[chr(97 + k)] = 0xD5 + k


def text_block(rng, lines, charset):
    out = bytearray()
    start = rng.randrange(len(lines))
    for line in lines[start:start + rng.randint(2, 30)]:
        if charset:
            out += bytes(CHARSET.get(c, 0xAB) for c in line) + b"\xff"
        else:
            out += line.encode("ascii") + b"\0"
    return bytes(out)


def numeric_table(rng):
    """A table as game code keeps them: sines, growth curves, easing, level thresholds."""
    kind = rng.randrange(6)
    if kind == 0:  # sine in 4.12 (or 8.8) fixed point, a quarter more for the cosine
        one = rng.choice([0x1000, 0x100, 0x4000])
        n = rng.choice([256, 512])
        return b"".join(struct.pack("<h", round(one * math.sin(2 * math.pi * k / n)))
                        for k in range(n + n // 4))
    if kind == 1:  # experience needed per level
        base, power = rng.randint(8, 40), rng.uniform(1.5, 3.0)
        return b"".join(struct.pack("<H", min(0xFFFF, round(base * k ** power)))
                        for k in range(1, rng.randint(30, 100)))
    if kind == 2:  # easing curve 0..255
        n = rng.choice([32, 64, 128])
        return bytes(round(255 * (0.5 - 0.5 * math.cos(math.pi * k / (n - 1)))) for k in range(n))
    if kind == 3:  # speed or damage tables of small numbers
        return b"".join(struct.pack("<H", rng.randint(0, 40) * rng.choice([1, 2, 5, 10]))
                        for _ in range(rng.randint(16, 128)))
    if kind == 4:  # a pitch table: 2^(k/12)
        return b"".join(struct.pack("<I", round(rng.choice([8363, 16726]) * 2 ** (k / 12)))
                        for k in range(-36, 60))
    # fade steps: 16-bit fractions
    return b"".join(struct.pack("<H", round(0xFFFF * (k / 31) ** rng.uniform(0.5, 2.2)))
                    for k in range(32))


# --- The image -------------------------------------------------------------------------------

class Image:
    def __init__(self, rng):
        self.rng = rng
        self.data = bytearray()
        self.regions = []    # (start, end, kind)
        self.planted = []    # (location, compressed, offset, words, kind, placement, key)
        self.fixups = []     # (offset, key, add)
        self.targets = {}    # key -> file offset
        self.pointable = []  # keys a pointer table may name
        self.pointed = set()

    def pad(self, n, fill=0):
        start = len(self.data)
        while len(self.data) % n:
            self.data.append(fill)
        if len(self.data) > start:
            self.regions.append((start, len(self.data), "padding"))

    def put(self, payload, kind, align=4, key=None):
        self.pad(align)
        start = len(self.data)
        self.data += payload
        self.regions.append((start, len(self.data), kind))
        if key is not None:
            self.targets[key] = start
            self.pointable.append(key)
        return start

    def pointer_words(self, keys, kind="pointers"):
        """A table of ROM pointers to the things named."""
        self.pad(4)
        start = len(self.data)
        for key in keys:
            self.fixups.append((len(self.data), key, 0))
            self.pointed.add(key)
            self.data += bytes(4)
        self.regions.append((start, len(self.data), kind))

    def palettes(self, palettes, placement, key=None, align=4):
        """Raw palettes one after another; `palettes` holds (words, kind)."""
        self.pad(align)
        start = len(self.data)
        if key is not None:
            self.targets[key] = start
            self.pointable.append(key)
        for k, (words, kind) in enumerate(palettes):
            at = self.put(palette_bytes(words), "palette", align=2)
            self.planted.append((at, False, 0, words, kind, placement, key if k == 0 else None))
        return start

    def compressed_palettes(self, palettes, placement, key):
        assert len(palettes) <= 16  # blocks of palette size: 512 bytes at most
        payload = b"".join(palette_bytes(w) for w, _ in palettes)
        stream = lz77_compress(payload)
        assert lz77_decompress(stream) == payload
        at = self.put(stream, "lzpalettes", key=key)
        for k, (words, kind) in enumerate(palettes):
            self.planted.append((at, True, 32 * k, words, kind, placement, key))
        return at


class Builder:
    def __init__(self, seed, item_set, size, half=None):
        self.rng = random.Random(seed)
        self.material = Material(item_set, half)
        self.size = size
        self.image = Image(self.rng)
        self.serial = 0
        self.functions = []  # ROM addresses of placed functions (Thumb bit set)

    def key(self):
        self.serial += 1
        return f"k{self.serial}"

    # Code ----------------------------------------------------------------------------------

    def code(self):
        """The library's Thumb sections in a shuffled order (relocate() fixes them up)."""
        rng, image = self.rng, self.image
        image.put(struct.pack("<4I", 0xE3A00012, 0xE129F000, 0xE59FD004, 0xE12FFF10), "code")
        # The library is small beside a game's code: most of it goes in twice.
        sections = [s for s in self.material.code + self.material.code if rng.random() < 0.85]
        rng.shuffle(sections)
        for _, _, body, relocations in sections:
            at = image.put(body, "code", align=4)
            self.placed.append((at, bytearray(body), relocations, True))
            self.functions.append(ROM_BASE + at + 1)

    def relocate(self, rom_tables):
        """Literal pool words and BL pairs of the placed sections, aimed at what the ROM
        holds: functions, tables, RAM."""
        rng, image = self.rng, self.image
        for at, body, relocations, is_code in self.placed:
            for offset, kind, target in relocations:
                if offset + 4 > len(body):
                    continue
                if kind == R_ARM_ABS32:  # a literal pool word
                    addend, = struct.unpack_from("<I", body, offset)
                    if target == TARGET_CODE and is_code:
                        value = ROM_BASE + at + (addend & 0xFFFF)
                    elif target == TARGET_CODE:  # a table of functions
                        value = rng.choice(self.functions)
                    elif target == TARGET_ROM or (target == TARGET_EXTERN_DATA and
                                                  rng.random() < 0.4):
                        # An address inside the table, as a linker's symbol plus addend is.
                        table, length = rng.choice(rom_tables)
                        value = table + (addend & 0xFF) % length
                    elif target == TARGET_EXTERN_CALL:
                        value = rng.choice(self.functions)
                    else:
                        value = rng.choice([0x03000000 + rng.randrange(0, 0x7F00, 4),
                                            0x02000000 + rng.randrange(0, 0x3FF00, 4)])
                    struct.pack_into("<I", body, offset, value & 0xFFFFFFFF)
                else:  # R_ARM_THM_CALL: a BL pair
                    hi, lo = struct.unpack_from("<HH", body, offset)
                    addend = ((hi & 0x7FF) << 12 | (lo & 0x7FF) << 1)
                    if addend & 0x400000:
                        addend -= 0x800000
                    place = ROM_BASE + at + offset
                    if target == TARGET_CODE:  # in the same section: its offset + 4
                        destination = ROM_BASE + at + min(max(0, addend + 4), len(body) - 2)
                    else:
                        destination = rng.choice(self.functions) & ~1
                    disp = (destination - (place + 4)) >> 1
                    disp &= 0x3FFFFF
                    struct.pack_into("<HH", body, offset, 0xF000 | disp >> 11,
                                     0xF800 | disp & 0x7FF)
            image.data[at:at + len(body)] = body

    # Graphics and their palettes -----------------------------------------------------------

    def art_palette(self, rng, fewest=2, backdrop=None):
        """(image, pixels, slot map, words, tiles wide, tiles high) of a crop, or None."""
        image = rng.choice(self.material.art)
        wide, high = rng.choice([(1, 1), (2, 2), (2, 4), (4, 4), (4, 2), (8, 4), (4, 8)])
        got = crop(image, rng, wide, high, fewest)
        if got is None:
            return None
        pixels, counts = got
        words, slot = object_palette(image, dict(counts), backdrop)
        return image, pixels, slot, words, wide, high

    def sprite(self):
        """A sprite's tiles (raw or LZ77) and its palette after, before or elsewhere."""
        rng, image = self.rng, self.image
        backdrop = rng.choice([None, None, 0, 0x7C1F, 0x03E0])
        got = self.art_palette(rng, backdrop=backdrop)
        if got is None:
            return
        _, pixels, slot, words, wide, high = got
        tiles = tiles_4bpp(pixels, slot, wide, high)
        kind = "sprite" if distinct(words) > 8 else "few"
        packed = rng.random() < 0.3
        tiles_key, pal_key = self.key(), self.key()
        roll = rng.random()
        if roll < 0.35:  # the palette right after its tiles
            if packed:
                image.put(lz77_compress(tiles), "lztiles", key=tiles_key)
                image.palettes([(words, kind)], "after-lztiles", pal_key, align=4)
            else:
                image.put(tiles, "tiles4", key=tiles_key)
                image.palettes([(words, kind)], "after-tiles", pal_key, align=2)
        elif roll < 0.55:  # before them
            image.palettes([(words, kind)], "before-tiles", pal_key)
            image.put(lz77_compress(tiles) if packed else tiles,
                      "lztiles" if packed else "tiles4", key=tiles_key)
        else:  # kept for a table of sprite palettes
            image.put(lz77_compress(tiles) if packed else tiles,
                      "lztiles" if packed else "tiles4", key=tiles_key)
            self.pending.append((words, kind))
            pal_key = None
        if rng.random() < 0.5 and pal_key:
            self.objects.append((tiles_key, pal_key, wide, high))

    def sprite_table(self):
        """The sprite palettes kept so far as one table at a 32-byte step."""
        rng, image = self.rng, self.image
        batch, self.pending = self.pending[:16], self.pending[16:]
        key = self.key()
        compressed = rng.random() < 0.3
        if compressed:
            image.compressed_palettes(batch, "lz-table", key)
        else:
            header = rng.random() < 0.2
            if header:
                image.pad(4)
                image.put(struct.pack("<H", len(batch)), "header16", align=2)
            image.palettes(batch, "header-table" if header else "table", key,
                           align=2 if header else 4)
        if rng.random() < 0.7:
            image.pointer_words([key] + [rng.choice(image.pointable)
                                         for _ in range(rng.randint(0, 6))])

    def background(self):
        """A 4bpp background as a converter makes it: each tile takes the palette of the bank
        that already holds its colours (or a new one), colours in the artist's order after a
        shared colour 0; tiles repeated or flipped are stored once; the map names each tile's
        palette. Palettes of the bank not needed stay at zero."""
        rng, image = self.rng, self.image
        backdrop = rng.choice([0, 0, 0, gba(rng.choice(EGA)), 0x2108])
        source = rng.choice(self.material.art)
        width, height, colours = source[0], source[1], source[2]
        if rng.random() < 0.2:  # a window or a panel
            wide, high = rng.choice([(8, 4), (4, 4), (16, 4), (8, 8)])
        else:  # a screen
            wide, high = rng.choice([(32, 32), (30, 20), (32, 20), (32, 16)])
        wide, high = min(wide, width // 8), min(high, height // 8)
        got = crop(source, rng, wide, high, 2) if wide and high else None
        if got is None:
            return
        pixels, _ = got
        w = 8 * wide
        tiles = []  # (pixels of the tile, counts)
        for ty in range(high):
            for tx in range(wide):
                px = [pixels[(8 * ty + y) * w + 8 * tx + x] for y in range(8) for x in range(8)]
                counts = collections.Counter(px)
                tiles.append((px, counts))
        banks = []  # sets of image indexes, 15 at most each
        choice = []
        for px, counts in tiles:
            keep = {c for c, _ in counts.most_common(15)}
            best = max(range(len(banks)), key=lambda b: len(banks[b] & keep), default=None)
            fits = [b for b in range(len(banks)) if len(banks[b] | keep) <= 15]
            if fits:
                b = max(fits, key=lambda b: len(banks[b] & keep))
                banks[b] |= keep
            elif len(banks) < 16:
                banks.append(set(keep))
                b = len(banks) - 1
            else:
                b = best
            choice.append(b)
        data = bytearray()
        for (px, _), b in zip(tiles, choice):
            order = sorted(banks[b])
            slot = {c: 1 + order.index(c) for c in order}
            for c in set(px) - banks[b]:
                slot[c] = min(slot, key=lambda o: sum((x - y) ** 2 for x, y in
                                                       zip(colours[c], colours[o])))
                slot[c] = slot[slot[c]]
            for y in range(8):
                row = px[8 * y:8 * y + 8]
                data += bytes(slot[row[x]] | slot[row[x + 1]] << 4 for x in range(0, 8, 2))
        unique, entries = tilemap(bytes(data), 32, choice)
        bank = []
        for b in banks:
            words = [backdrop] + [gba(colours[c]) for c in sorted(b)]
            words += [0] * (16 - len(words))
            bank.append((words, "bank" if distinct(words) > 8 else "few"))
        # The hardware has 16 background palettes: a bank stored whole keeps the rest at zero.
        bank += [([0] * 16, "unused")] * min(16 - len(bank), rng.choice([0, 0, 0, 1, 2, 16]))
        tiles_key, map_key, bank_key = self.key(), self.key(), self.key()
        if rng.random() < 0.4 and len(unique) <= 16384:
            image.put(lz77_compress(unique), "lztiles", key=tiles_key)
        else:
            image.put(unique, "tiles4", key=tiles_key)
        if rng.random() < 0.4:
            image.put(lz77_compress(entries), "lztilemap", key=map_key)
        else:
            image.put(entries, "tilemap", key=map_key, align=2)
        if rng.random() < 0.25:
            image.compressed_palettes(bank, "lz-bank", bank_key)
        else:
            image.palettes(bank, "bank", bank_key)
        if rng.random() < 0.6:
            image.pointer_words([tiles_key, map_key, bank_key])

    def background_8bpp(self):
        """An 8bpp background: tiles, a map and the image's 256 colours (16 palettes)."""
        rng, image = self.rng, self.image
        source = rng.choice([a for a in self.material.art if len(a[2]) > 16] or
                            self.material.art)
        wide, high = rng.choice([(4, 4), (8, 4), (8, 8)])
        got = crop(source, rng, wide, high, 3)
        if got is None:
            return
        pixels, _ = got
        unique, entries = tilemap(tiles_8bpp(pixels, wide, high), 64)
        colours = [gba(c) for c in source[2][:256]]
        colours += [0] * (256 - len(colours))
        banks = [(colours[16 * k:16 * k + 16], "bg256") for k in range(16)]
        while len(banks) > 1 and not any(banks[-1][0]):
            banks.pop()  # the unused end of a short palette is not stored
        key = self.key()
        image.put(unique, "tiles8")
        image.put(entries, "tilemap", align=2)
        if rng.random() < 0.25:
            image.compressed_palettes(banks, "lz-256", key)
        else:
            image.palettes(banks, "256", key)
        if rng.random() < 0.6:
            image.pointer_words([key])

    def loose_palettes(self):
        """Palettes of other origins: paint programs, fades, EGA, ramps, few colours."""
        rng, image = self.rng, self.image
        count = rng.choice([1, 1, 1, 2, 3, 4, 6, 8])
        batch = [self.loose_palette() for _ in range(count)]
        batch = [b for b in batch if b]
        if not batch:
            return
        key = self.key()
        roll = rng.random()
        if roll < 0.25:
            image.compressed_palettes(batch, "lz", key)
        elif roll < 0.45:
            image.pad(4)
            image.put(struct.pack("<H", rng.choice([len(batch), 16, rng.randint(0, 300)])),
                      "header16", align=2)
            image.palettes(batch, "header", key, align=2)
        else:
            image.palettes(batch, "alone" if len(batch) == 1 else "table", key)
        if rng.random() < 0.6:
            image.pointer_words([key] + [rng.choice(image.pointable)
                                         for _ in range(rng.randint(0, 4))])

    def loose_palette(self):
        rng = self.rng
        roll = rng.random()
        if roll < 0.3:  # 16 colours of a paint program's palette, in the file's order
            colours = rng.choice(self.material.paint)
            start = rng.randrange(0, max(1, len(colours) - 15))
            words = [gba(c) for c in colours[start:start + 16]]
            return words + [0] * (16 - len(words)), "paint"
        if roll < 0.5:  # a fade of an object's palette: night or faded out
            got = self.art_palette(rng, fewest=4)
            if got is None:
                return None
            words = got[3]
            if rng.random() < 0.5:
                f = rng.uniform(0.15, 0.45)
                return [from_components(*(int(c * f) for c in components(w))) if w else 0
                        for w in words], "dark"
            t = rng.uniform(0.4, 0.85)
            return [from_components(*(round(c + (31 - c) * t) for c in components(w))) if w
                    else 0 for w in words], "pale"
        if roll < 0.6:  # the 16 EGA colours, or a vivid set in another order
            words = [gba(c) for c in EGA]
            if rng.random() < 0.5:
                words = words[:1] + rng.sample(words[1:], 15)
            return words, "ega"
        if roll < 0.75:  # a clean ramp of one hue, maybe two ramps of 8
            words = []
            for _ in range(rng.choice([1, 2])):
                hue = [rng.uniform(0.1, 1.0) for _ in range(3)]
                top = max(hue)
                steps = 16 if not words else 8
                steps = 8 if rng.random() < 0.5 and not words else steps
                for k in range(steps):
                    t = (k + 1) / steps
                    words.append(from_components(*(min(31, round(31 * t * h / top))
                                                   for h in hue)))
            words = words[:16]
            return words + [0] * (16 - len(words)), "ramp"
        # a palette of 3 to 8 colours: an object's first colours, the rest unused
        got = self.art_palette(rng, fewest=3)
        if got is None:
            return None
        keep = rng.randint(3, 8)
        words = got[3][:keep]
        return words + [0] * (16 - len(words)), "few"

    # Everything else -----------------------------------------------------------------------

    def sound(self):
        rate, pcm = self.rng.choice(self.material.sounds)
        header = struct.pack("<IIII", 0, rate << 10, 0, len(pcm))
        self.image.put(header + pcm, "sound", key=self.key())

    def text(self):
        charset = self.rng.random() < 0.5
        key = self.key()
        block = text_block(self.rng, self.material.text, charset)
        self.image.put(block, "text-charset" if charset else "text-ascii", align=1, key=key)

    def objects_table(self):
        """Records of an object: pointers to its tiles and palette, size and flags."""
        image, rng = self.image, self.rng
        batch, self.objects = self.objects, []
        image.pad(4)
        start = len(image.data)
        for tiles_key, pal_key, wide, high in batch:
            image.fixups.append((len(image.data), tiles_key, 0))
            image.fixups.append((len(image.data) + 4, pal_key, 0))
            image.pointed.update((tiles_key, pal_key))
            image.data += bytes(8) + struct.pack("<BBHI", wide * 8, high * 8,
                                                 rng.choice([0, 1, 0x40, 0x4000]),
                                                 rng.randint(0, 200))
        image.regions.append((start, len(image.data), "objects"))

    def build(self, code, title):
        rng, image = self.rng, self.image
        image.put(bytes(0xC0), "header")
        self.placed = []  # (offset, bytes, relocations, is code) of code and read-only tables
        self.code()
        rom_tables = []
        self.pending, self.objects = [], []
        budget = self.size - self.size // 16  # the end is left to the 0xFF fill
        makers = [(self.sprite, 30), (self.background, 6), (self.background_8bpp, 1),
                  (self.loose_palettes, 12), (self.sound, 5), (self.text, 8),
                  (self.table, 8), (self.rodata, 4), (self.music, 0.3), (self.padding, 3)]
        total = sum(w for _, w in makers)
        while len(image.data) < budget - 32 * 1024:
            pick = rng.uniform(0, total)
            for maker, weight in makers:
                pick -= weight
                if pick <= 0:
                    break
            maker()
            if maker in (self.table, self.rodata):
                first, end, _ = image.regions[-1]
                rom_tables.append((ROM_BASE + first, end - first))
            if len(self.pending) >= rng.randint(4, 16):
                self.sprite_table()
            if len(self.objects) >= 8:
                self.objects_table()
            if rng.random() < 0.05 and image.pointable:
                image.pointer_words(rng.choice(image.pointable) for _ in range(rng.randint(4, 48)))
        if self.pending:
            self.sprite_table()
        self.relocate(rom_tables or [(ROM_BASE, 0xC0)])
        self.finish(code, title)

    def table(self):
        self.image.put(numeric_table(self.rng), "table", align=self.rng.choice([2, 4]),
                       key=self.key())

    def rodata(self):
        _, _, body, relocations = self.rng.choice(self.material.rodata)
        at = self.image.put(body, "rodata", key=self.key())
        self.placed.append((at, bytearray(body), relocations, False))

    def music(self):
        self.image.put(self.rng.choice(self.material.music), "music", key=self.key())

    def padding(self):
        rng = self.rng
        fill = rng.choice([0, 0, 0xFF])
        start = len(self.image.data)
        self.image.data += bytes([fill]) * rng.choice([4, 16, 64, 256, 1024])
        self.image.regions.append((start, len(self.image.data), "padding"))

    def finish(self, code, title):
        image = self.image
        for offset, key, add in image.fixups:
            struct.pack_into("<I", image.data, offset, ROM_BASE + image.targets[key] + add)
        header = bytearray(0xC0)
        struct.pack_into("<I", header, 0, 0xEA00002E)
        header[4:0xA0] = bytes(self.rng.randint(0, 255) for _ in range(0x9C))
        header[0xA0:0xAC] = title.encode("ascii").ljust(12, b"\0")[:12]
        header[0xAC:0xB0] = code.encode("ascii")
        header[0xB0:0xB2] = b"ZD"
        header[0xB2] = 0x96
        header[0xBD] = (-(sum(header[0xA0:0xBD]) + 0x19)) & 0xFF
        image.data[0:0xC0] = header
        assert len(image.data) <= self.size, "content larger than the image"
        start = len(image.data)
        image.data += b"\xff" * (self.size - len(image.data))
        if self.size > start:
            image.regions.append((start, self.size, "padding"))


def write(builder, output):
    image = builder.image
    with open(output, "wb") as f:
        f.write(image.data)
    stem = output[:-4] if output.lower().endswith(".gba") else output
    with open(stem + ".palettes.csv", "w", newline="") as f:
        f.write("location,compressed,offset,distinct,used,kind,placement,pointed\n")
        for location, compressed, offset, words, kind, placement, key in image.planted:
            pointed = int(key is not None and key in image.pointed)
            f.write(f"{location:X},{int(compressed)},{offset:X},{distinct(words)},"
                    f"{used(words)},{kind},{placement},{pointed}\n")
    with open(stem + ".regions.csv", "w", newline="") as f:
        f.write("start,end,kind\n")
        at = 0
        for start, end, kind in sorted(image.regions):
            assert start == at, f"regions leave a gap or overlap at {at:X}"
            f.write(f"{start:X},{end:X},{kind}\n")
            at = end
        assert at == len(image.data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--set", choices=["tune", "held"], default=None,
                        help=f"the material (default: held for seeds from {HELD_SEEDS_FROM}, "
                             "else tune)")
    parser.add_argument("--half", type=int, choices=[0, 1], default=None,
                        help="every other picture and palette file only")
    parser.add_argument("--size", type=lambda s: int(s, 0), default=1 << 20)
    parser.add_argument("--code", default="ZREL")
    parser.add_argument("--title", default="ZANDREL REAL")
    args = parser.parse_args()
    item_set = args.set or ("held" if args.seed >= HELD_SEEDS_FROM else "tune")
    builder = Builder(args.seed, item_set, args.size, args.half)
    builder.build(args.code, args.title)
    write(builder, args.output)


if __name__ == "__main__":
    main()
