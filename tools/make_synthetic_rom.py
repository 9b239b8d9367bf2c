#!/usr/bin/env python3
"""Writes a synthetic GBA ROM image with palettes planted at known places, and their list.

The image looks like a real game to a palette finder: a cartridge header with our own game
code, Thumb functions with literal pools, 4bpp tile graphics (raw and LZ77-compressed), text
in ASCII and in a game charset, data tables, 8-bit sound samples, pointer tables of 08xxxxxx
addresses, zero padding between sections and 0xFF filling the end. Among them lie groups of
raw 16-colour palettes and LZ77 blocks of 1 to 16 palettes, some of them reached by pointers.

The list beside the image (NAME.palettes.csv) has one planted palette a line:
    location,compressed,offset,pointed
location is the palette's (or its block's) file offset in hex, offset the byte offset in the
block's decompressed data in hex, compressed and pointed 0 or 1.

The LZ77 encoder here is the project's independent one: greedy, VRAM-safe (no displacement 1),
padded to 4 bytes; the C++ tests hold vectors it made.

Usage: tools/make_synthetic_rom.py OUTPUT.gba [--seed N] [--size BYTES] [--code ZTST]
                                    [--title TEXT] [--groups-per-mib N] [--sections]
The example: --seed 2024 --size 0x40000 --code ZNDL --title "ZANDREL DEMO" --groups-per-mib 96,
then tools/add_example_sprites.py, which draws a few sprites into its padding.
"""
import argparse
import math
import random
import struct

ROM_BASE = 0x08000000


# --- LZ77 (GBA BIOS type 0x10) ---------------------------------------------------------------

def lz77_compress(data):
    """Greedy longest match, displacement 2..4096, lengths 3..18; padded to 4 bytes."""
    data = bytes(data)
    n = len(data)
    out = bytearray([0x10, n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF])
    positions = {}  # 3-byte key -> positions, most recent last
    i = 0
    flag_at = None
    blocks = 8
    while i < n:
        if blocks == 8:
            flag_at = len(out)
            out.append(0)
            blocks = 0
        best_len, best_disp = 0, 0
        if i + 3 <= n:
            for j in reversed(positions.get(data[i:i + 3], [])[-256:]):
                disp = i - j
                if disp > 4096:
                    break
                if disp < 2:
                    continue
                length = 3
                limit = min(18, n - i)
                while length < limit and data[j + length] == data[i + length]:
                    length += 1
                if length > best_len:
                    best_len, best_disp = length, disp
                    if length == limit:
                        break
        step = best_len if best_len >= 3 else 1
        if best_len >= 3:
            out[flag_at] |= 0x80 >> blocks
            d = best_disp - 1
            out += bytes([(best_len - 3) << 4 | d >> 8, d & 0xFF])
        else:
            out.append(data[i])
        for k in range(i, i + step):
            if k + 3 <= n:
                positions.setdefault(data[k:k + 3], []).append(k)
        i += step
        blocks += 1
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def lz77_decompress(stream):
    assert stream[0] == 0x10
    size = stream[1] | stream[2] << 8 | stream[3] << 16
    out = bytearray()
    i = 4
    while len(out) < size:
        flags = stream[i]
        i += 1
        for bit in range(8):
            if len(out) >= size:
                break
            if flags & (0x80 >> bit):
                length = (stream[i] >> 4) + 3
                disp = ((stream[i] & 0xF) << 8 | stream[i + 1]) + 1
                i += 2
                for _ in range(length):
                    out.append(out[-disp])
            else:
                out.append(stream[i])
                i += 1
    return bytes(out[:size])


# --- Colours ---------------------------------------------------------------------------------

def word(r, g, b):
    return int(r) | int(g) << 5 | int(b) << 10


def ramp(rng, count):
    """A dark-to-light ramp of one hue, as games shade a material."""
    hue = [rng.uniform(0.2, 1.0) for _ in range(3)]
    top = max(hue)
    hue = [h / top for h in hue]
    low, high = rng.uniform(0.0, 0.25), rng.uniform(0.75, 1.0)
    colours = []
    for k in range(count):
        t = low + (high - low) * k / max(1, count - 1)
        # Light colours drift towards white, as highlights do.
        colours.append(word(*(min(31, round(31 * (t * h + max(0.0, t - 0.7) * (1 - h))))
                              for h in hue)))
    return colours


def make_palette(rng, backdrop):
    parts = rng.choice([[15], [7, 8], [5, 5, 5], [4, 4, 4, 3], [6, 6, 3], [3, 3, 3, 3, 3]])
    colours = [backdrop]
    for count in parts:
        colours += ramp(rng, count)
    if rng.random() < 0.3:  # a few accent colours: white, pure hues
        for k in rng.sample(range(1, 16), 2):
            colours[k] = rng.choice([0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x03FF, word(31, 20, 8)])
    if rng.random() < 0.1:  # a palette that uses only its first colours
        used = rng.randint(8, 12)
        colours = colours[:used] + [0] * (16 - used)
    return colours


def palette_bytes(colours):
    return b"".join(struct.pack("<H", c) for c in colours)


# --- Other content ---------------------------------------------------------------------------

def thumb_function(rng, base_address):
    """A Thumb function: push, a body of common instructions, pop and return, literal pool."""
    regs = lambda: rng.randint(0, 7)
    ops = []
    ops.append(0xB500 | rng.choice([0x00, 0x10, 0x30, 0x70, 0xF0]))
    for _ in range(rng.randint(6, 60)):
        kind = rng.random()
        if kind < 0.14:
            ops.append(0x2000 | regs() << 8 | rng.choice([0, 1, 2, 4, 8, 16, rng.randint(0, 255)]))
        elif kind < 0.26:
            ops.append(0x6800 | rng.randint(0, 15) << 6 | regs() << 3 | regs())
        elif kind < 0.34:
            ops.append(0x6000 | rng.randint(0, 15) << 6 | regs() << 3 | regs())
        elif kind < 0.42:
            ops.append(0x4800 | regs() << 8 | rng.randint(0, 20))
        elif kind < 0.50:
            ops.append(rng.choice([0x1800, 0x1A00, 0x1C00, 0x1E00]) | regs() << 6 | regs() << 3 |
                       regs())
        elif kind < 0.56:
            ops.append(0x0000 | rng.randint(1, 24) << 6 | regs() << 3 | regs())
        elif kind < 0.62:
            ops.append(0x2800 | regs() << 8 | rng.randint(0, 64))
            ops.append(0xD000 | rng.randint(0, 13) << 8 | rng.randint(0, 255))
        elif kind < 0.72:
            ops += [0xF000 | rng.randint(0, 0x7FF), 0xF800 | rng.randint(0, 0x7FF)]
        elif kind < 0.78:
            ops.append(0x4000 | rng.randint(0, 15) << 6 | regs() << 3 | regs())
        elif kind < 0.83:
            ops.append(rng.choice([0x8800, 0x8000, 0x7800, 0x7000]) | rng.randint(0, 31) << 6 |
                       regs() << 3 | regs())
        elif kind < 0.88:
            ops.append(0x4600 | rng.randint(0, 255))
        elif kind < 0.93:
            ops.append(rng.choice([0x9800, 0x9000, 0xA800, 0xB000]) | rng.randint(0, 255))
        else:
            ops.append(0xE000 | rng.randint(0, 0x7FF))
    if rng.random() < 0.5:
        ops += [0xBC00 | rng.choice([0x10, 0x30, 0xF0]), 0xBC01, 0x4700]
    else:
        ops.append(0xBD00 | rng.choice([0x00, 0x10, 0x30, 0xF0]))
    if len(ops) % 2:
        ops.append(0x0000)  # alignment of the literal pool
    code = b"".join(struct.pack("<H", op) for op in ops)
    pool = []
    for _ in range(rng.randint(0, 6)):
        pool.append(rng.choice([
            base_address + rng.randint(0, 0x1FFFFF) & ~3,
            0x03000000 + rng.randint(0, 0x7FFF) & ~3,
            0x02000000 + rng.randint(0, 0x3FFFF) & ~3,
            0x04000000 + rng.choice([0, 8, 0x10, 0x50, 0x80, 0xB0, 0xD4]),
            rng.randint(0, 0xFFFF),
        ]))
    return code + b"".join(struct.pack("<I", v) for v in pool)


def tiles(rng, count):
    """4bpp sprite or background tiles: shaded blobs and textures with a transparent colour 0."""
    first = rng.choice([1, 1, 1, 4, 8])
    shades = rng.randint(3, 7)
    out = bytearray()
    style = rng.random()
    cx, cy, radius = rng.uniform(2, 6), rng.uniform(2, 6), rng.uniform(3, 9)
    for t in range(count):
        ox, oy = (t % 4) * 8, (t // 4) * 8
        for y in range(8):
            row = 0
            for x in range(8):
                if style < 0.6:
                    d = math.hypot(ox + x - cx * 2, oy + y - cy * 2) / (radius * 2)
                    index = 0 if d > 1 else first + min(shades - 1, int((1 - d) * shades))
                else:
                    index = first + rng.randint(0, shades - 1) if rng.random() < 0.9 else 0
                row |= min(15, index) << (4 * x)
            out += struct.pack("<I", row)
    return bytes(out)


WORDS = ("a o de que e do da em um para com nao uma os no se na por mais as dos como mas ao "
         "ele das seu sua ou quando muito nos ja eu tambem so pelo pela ate isso ela entre "
         "the of and to in is you that it he was for on are with as his they be at one have "
         "sword shield potion castle dragon forest cave hero king queen village gold").split()


def text(rng, ascii_text):
    out = bytearray()
    for _ in range(rng.randint(3, 40)):
        sentence = " ".join(rng.choice(WORDS) for _ in range(rng.randint(3, 14)))
        sentence = sentence.capitalize() + rng.choice([".", "!", "?", "..."])
        if ascii_text:
            out += sentence.encode("ascii") + b"\0"
        else:  # a game charset: letters from 0xBB, space 0x00, end 0xFF
            out += bytes(0xBB + (ord(c) - 97) if c.isalpha() and c.islower() else
                         0xD5 + ord(c.lower()) - 97 if c.isalpha() else 0x00 if c == " " else 0xAD
                         for c in sentence) + b"\xff"
    return bytes(out)


def data_table(rng):
    kind = rng.random()
    n = rng.randint(16, 400)
    if kind < 0.3:  # records of small numbers
        return b"".join(struct.pack("<BBBBHH", *(rng.randint(0, 120) for _ in range(4)),
                                    rng.randint(0, 500), rng.choice([0, 1, 2, 4, 0x100]))
                        for _ in range(n))
    if kind < 0.5:  # a sine table in 8.8 fixed point
        return b"".join(struct.pack("<h", round(256 * math.sin(2 * math.pi * k / 256)))
                        for k in range(256 + 64))
    if kind < 0.7:  # map bytes
        return bytes(rng.choice([0, 0, 1, 2, 3, 5, 8, 13, 21, 34]) for _ in range(n * 4))
    if kind < 0.85:  # 32-bit words: counts, flags, masks
        return b"".join(struct.pack("<I", rng.choice([rng.randint(0, 1000), 1 << rng.randint(0, 31),
                                                       0xFFFFFFFF, 0]))
                        for _ in range(n))
    return b"".join(struct.pack("<H", rng.randint(0, 0x7FFF)) for _ in range(n // 8))


def sound_sample(rng):
    """A sample header (as sound engines store it) and signed 8-bit PCM."""
    length = rng.randint(1024, 12000)
    f1, f2 = rng.uniform(0.01, 0.08), rng.uniform(0.1, 0.3)
    pcm = bytes((round(90 * math.exp(-k / length * 3) * math.sin(k * f1) +
                       20 * math.sin(k * f2) + rng.uniform(-4, 4))) & 0xFF for k in range(length))
    return struct.pack("<IIII", 0, rng.choice([8000, 13379, 16000]) << 10, 0, length) + pcm


# --- The image -------------------------------------------------------------------------------

class Image:
    def __init__(self, size, rng):
        self.size = size
        self.rng = rng
        self.data = bytearray()
        self.fixups = []   # (offset, key): a pointer to the thing named key
        self.targets = {}  # key -> file offset
        self.pointable = []  # keys a pointer table may name
        self.planted = []  # (location, compressed, offset, key)
        self.sections = []  # (start, end, kind), for studying what a finder mistakes

    def align(self, n, fill=0):
        while len(self.data) % n:
            self.data.append(fill)

    def put(self, payload, key=None, align=4, kind="data"):
        self.align(align)
        self.sections.append((len(self.data), len(self.data) + len(payload), kind))
        if key is not None:
            self.targets[key] = len(self.data)
            self.pointable.append(key)
        self.data += payload

    def pointer_table(self, keys):
        self.align(4)
        for key in keys:
            self.sections.append((len(self.data), len(self.data) + 4, "pointers"))
            self.fixups.append((len(self.data), key))
            self.data += b"\0\0\0\0"

    def finish(self, code, title):
        for offset, key in self.fixups:
            struct.pack_into("<I", self.data, offset, ROM_BASE + self.targets[key])
        header = bytearray(0xC0)
        struct.pack_into("<I", header, 0, 0xEA00002E)  # b 0xC0
        header[4:0xA0] = bytes(self.rng.randint(0, 255) for _ in range(0x9C))
        header[0xA0:0xAC] = title.encode("ascii").ljust(12, b"\0")[:12]
        header[0xAC:0xB0] = code.encode("ascii")
        header[0xB0:0xB2] = b"ZD"
        header[0xB2] = 0x96
        header[0xBD] = (-(sum(header[0xA0:0xBD]) + 0x19)) & 0xFF
        self.data[0:0xC0] = header
        assert len(self.data) <= self.size, "content larger than the image"
        self.data += b"\xff" * (self.size - len(self.data))


def build(seed, size, code, title, groups_per_mib=32):
    rng = random.Random(seed)
    image = Image(size, rng)
    image.put(bytes(0xC0))
    # ARM start: set up stacks, switch to Thumb (bx) and call the main function.
    image.put(struct.pack("<4I", 0xE3A00012, 0xE129F000, 0xE59FD004, 0xE12FFF10))
    pools = {}  # reused chunks keep large images fast to make

    def chunk(kind, make):
        pool = pools.setdefault(kind, [])
        if len(pool) < 200 or rng.random() < 0.02:
            pool.append(make())
        return rng.choice(pool)

    budget = size - size // 16  # leave the end to the 0xFF fill
    next_palette_at = 0
    serial = 0
    while len(image.data) < budget - 64 * 1024:
        serial += 1
        key = f"s{serial}"
        roll = rng.random()
        if len(image.data) >= next_palette_at:
            next_palette_at = len(image.data) + rng.randint(1, 2 * (1 << 20) // groups_per_mib)
            plant_palettes(image, rng, key)
        elif roll < 0.35:
            for k in range(rng.randint(2, 20)):
                image.put(chunk("code", lambda: thumb_function(rng, ROM_BASE)), key + f"f{k}",
                      kind="code")
        elif roll < 0.55:
            image.put(chunk("tiles", lambda: tiles(rng, rng.randint(4, 64))), key,
                      kind="tiles")
        elif roll < 0.62:
            image.put(chunk("lztiles", lambda: lz77_compress(tiles(rng, rng.randint(1, 48)))), key,
                      kind="lztiles")
        elif roll < 0.68:
            image.put(chunk("text", lambda: text(rng, rng.random() < 0.5)), key,
                      kind="text")
        elif roll < 0.78:
            image.put(chunk("table", lambda: data_table(rng)), key,
                      kind="table")
        elif roll < 0.86:
            image.put(chunk("sound", lambda: sound_sample(rng)), key,
                      kind="sound")
        elif roll < 0.93 and image.pointable:
            image.pointer_table(rng.choice(image.pointable) for _ in range(rng.randint(4, 64)))
        else:
            image.put(bytes(rng.choice([4, 16, 64, 256, 2048])), kind="zeros")
    image.finish(code, title)
    return image


def plant_palettes(image, rng, key):
    """A group of raw palettes or one LZ77 block of palettes, maybe with a pointer to it."""
    count = rng.choice([1, 1, 1, 2, 2, 3, 4, 4, 6, 8, 16])
    backdrop = 0 if rng.random() < 0.7 else word(*(rng.randint(0, 31) for _ in range(3)))
    palettes = [make_palette(rng, backdrop) for _ in range(count)]
    payload = b"".join(palette_bytes(p) for p in palettes)
    compressed = rng.random() < 0.45
    pointed = rng.random() < (0.85 if compressed else 0.6)
    if compressed:
        payload = lz77_compress(payload)
        assert lz77_decompress(payload) == b"".join(palette_bytes(p) for p in palettes)
    elif rng.random() < 0.15:
        image.align(4)
        image.data += struct.pack("<H", rng.randint(1, 200))  # a 2-byte aligned palette
    image.put(payload, align=2 if not compressed else 4, kind="palettes")
    location = len(image.data) - len(payload)
    image.targets[key] = location
    for k in range(count):
        image.planted.append((location if compressed else location + 32 * k,
                              compressed, 32 * k if compressed else 0, pointed and k == 0 or
                              (pointed and compressed)))
    if pointed:
        image.pointer_table([key] + [rng.choice(image.pointable) for _ in range(rng.randint(0, 7))]
                            if image.pointable else [key])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--size", type=lambda s: int(s, 0), default=4 << 20)
    parser.add_argument("--code", default="ZTST")
    parser.add_argument("--title", default="ZANDREL TEST")
    parser.add_argument("--groups-per-mib", type=int, default=32,
                        help="palette groups (raw runs or LZ77 blocks) per MiB, on average")
    parser.add_argument("--sections", action="store_true",
                        help="also write NAME.sections.csv: start,end,kind of every section")
    args = parser.parse_args()
    image = build(args.seed, args.size, args.code, args.title, args.groups_per_mib)
    with open(args.output, "wb") as f:
        f.write(image.data)
    stem = args.output[:-4] if args.output.lower().endswith(".gba") else args.output
    with open(stem + ".palettes.csv", "w", newline="") as f:
        f.write("location,compressed,offset,pointed\n")
        for location, compressed, offset, pointed in image.planted:
            f.write(f"{location:X},{int(compressed)},{offset:X},{int(pointed)}\n")
    if args.sections:
        with open(stem + ".sections.csv", "w", newline="") as f:
            f.write("start,end,kind\n")
            for start, end, kind in image.sections:
                f.write(f"{start:X},{end:X},{kind}\n")


if __name__ == "__main__":
    main()
