#!/usr/bin/env python3
"""Draws a few 4bpp sprites into the free space of the example ROM, with its own palettes.

examples/synthetic.gba (tools/make_synthetic_rom.py) ends in 0xFF padding, as cartridges do.
This script draws sprites there as a game stores them: 8x8 tiles of 4 bits per pixel (each
row 4 bytes, the low nibble the left pixel), a sprite's tiles left to right and top to bottom,
some raw and some in LZ77 blocks (animation frames one after the other), each drawn for a
palette the image already holds. Every other byte stays as it was: a sprite is written only
over 0xFF padding or over its own bytes, so running the script again changes nothing.

Usage: tools/add_example_sprites.py [IMAGE]   (default: examples/synthetic.gba)
Prints each sprite's location, palette and size in tiles.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_synthetic_rom import lz77_compress  # noqa: E402

# A character of the drawings is a colour index; '.' is index 0, transparent.
HERO_COLOURS = {".": 0, "l": 2, "L": 3, "e": 4, "s": 5, "S": 6, "h": 7, "H": 8, "i": 9,
                "b": 10, "c": 12, "K": 13, "p": 2, "P": 14, "Q": 15}

HERO_TOP = [  # palette C980: purple ramp tunic, tan skin, red hair, lavender trousers
    "......KKKK......",
    "....KKHHHHKK....",
    "...KHHiiHHHHK...",
    "..KHHiiHHHHHhK..",
    "..KHHHHHHHHhhK..",
    "..KHhHHhHHHhhK..",
    "..KhSSSSSSShhK..",
    "..KSSSSSSSSShK..",
    "..KSSeSSSeSSSK..",
    "..KSSeSSSeSSsK..",
    "..KcSSSSSSScsK..",
    "...KSSSssSSsK...",
    "....KKsSSsKK....",
    "......KssK......",
    "....KKPPPPKK....",
    "...KPQQPPPPPK...",
    "..KPKQQPPPPKPK..",
    "..KPKQPPPPPKpK..",
    "..KPKPPPPPPKpK..",
    "..KSKPPPPPpKSK..",
    "..KsKbbbbbbKsK..",
    "...KKPPPPPpKK...",
    "....KLLLLLlK....",
]
HERO_LEGS = {
    "standing": [
        "....KLLLKLLlK...",
        "....KLLlKLLlK...",
        "....KLLlKLLlK...",
        "....KLLlKLLlK...",
        "....KLLlKLLlK...",
        "....KbbbKbbbK...",
        "...KbbbbKbbbbK..",
        "...KKKKKKKKKKK..",
        "................",
    ],
    "left forward": [
        "...KLLLKKLLlK...",
        "...KLLlK.KLlK...",
        "..KLLlK..KLlK...",
        "..KLLlK..KLlK...",
        ".KLLlK...KLlK...",
        ".KbbbK...KbbK...",
        "KbbbbK..KbbbbK..",
        "KKKKKK..KKKKKK..",
        "................",
    ],
    "right forward": [
        "....KLLlKKLLLK..",
        "....KLLK.KLLlK..",
        "....KLLK..KLLlK.",
        "....KLLK..KLLlK.",
        "....KLLK...KLLlK",
        "....KbbK...KbbbK",
        "...KbbbbK..KbbbK",
        "...KKKKKK..KKKKK",
        "................",
    ],
}

SLIME_COLOURS = {".": 0, "K": 2, "d": 5, "D": 7, "m": 9, "M": 11, "L": 13, "W": 15, "e": 1}
SLIME = [  # palette 1054C: a ramp of fifteen greens
    "................",
    "................",
    "................",
    "......KKKK......",
    "....KKMMMMKK....",
    "...KMMWWMMMMK...",
    "..KMMWWLMMMMMK..",
    "..KMMLMMMMMMmK..",
    ".KMMMMeMMeMMmmK.",
    ".KMMMMeMMeMMmmK.",
    ".KmMMMMMMMMMmDK.",
    ".KmmMMMMMMMmmDK.",
    ".KDmmmmmmmmmDdK.",
    "..KDDDDDDDDDDK..",
    "...KKKKKKKKKK...",
    "................",
]

CHEST_COLOURS = {".": 0, "K": 1, "d": 2, "w": 3, "W": 4, "L": 5, "H": 6, "g": 10, "t": 8}
CHEST = [  # palette 29BE4: a ramp of browns, an orange for the metal
    "................",
    "................",
    "...KKKKKKKKKK...",
    "..KLHHHHHHHHLK..",
    ".KLHWWWWWWWWHLK.",
    ".KWWWWWggWWWWWK.",
    ".KggggggggggggK.",
    ".KwwwwwKKwwwwwK.",
    ".KWWWWKggKWWWWK.",
    ".KWWWWKggKWWWWK.",
    ".KwwwwwKKwwwwwK.",
    ".KggggggggggggK.",
    ".KwwwwwwwwwwwwK.",
    ".KddddddddddddK.",
    "..KKKKKKKKKKKK..",
    "................",
]

TREE_COLOURS = {".": 0, "K": 9, "a": 13, "b": 5, "c": 6, "d": 14, "e": 7, "f": 8,
                "t": 1, "T": 10, "u": 11, "y": 3, "Y": 4}
TREE = [  # palette 1A600: greens for the leaves, browns for the trunk, pink fruit
    "............KKKKKKKK............",
    "..........KKddeeeeddKK..........",
    "........KKcdeeffffeedcKK........",
    ".......KcddeeffffffeeddcK.......",
    "......KccdeeeffffffeeedccK......",
    ".....KbccddeeeeffeeeeddccbK.....",
    "....KbbccdddeeeeeeeeddyYcbbK....",
    "....KbccdddeeeeeeeedddyYccbK....",
    "...KbbccdddeeeeeeeeedddccccbK...",
    "...KbcccddddeeeeeeeeddddcccbK...",
    "..KbbccyYdddeeeeeeedddddcccbbK..",
    "..KbbccyYddddeeeeedddddccccbbK..",
    "..KbbcccdddddddddddddddccccbbK..",
    ".KabbccccddddddddddddddcccbbbaK.",
    ".KabbbccccdddddddddddcccccbbbaK.",
    ".KaabbbcccccdddddddccccccbbbaaK.",
    ".KaabbbbcccccccccccccccccbbaaaK.",
    "..KaabbbbcccccccccccccbbbbbaaK..",
    "..KaaabbbbbccccyYcccccbbbbaaaK..",
    "...KaaabbbbbbcccyYccbbbbbaaaK...",
    "...KaaaabbbbbbbbbbbbbbbbaaaaK...",
    "....KaaaaabbbbbbbbbbbbbaaaaK....",
    ".....KKaaaaaaabbbbbaaaaaaKK.....",
    ".......KKKaaaaaaaaaaaaaKKK......",
    "..........KKKKaaaaaKKKK.........",
    "............KTuuTtK.............",
    "............KTuTTtK.............",
    "............KTuTTtK.............",
    "............KTuTTtK.............",
    "............KTTuTtK.............",
    "............KTTuTtK.............",
    "............KTTuTtK.............",
    "............KTTuTtK.............",
    "............KTuuTtK.............",
    "............KTuTTtK.............",
    "............KTuTTtK.............",
    "...........KTTuTTttK............",
    "...........KTTuTTTtK............",
    "..........KTTuuTTTttK...........",
    ".........KTTuTTKTTTttK..........",
    "........KtTTuTKKKTTTttK.........",
    "........KKKKKK...KKKKKK.........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]


def tiles_of(rows, colours):
    """The 4bpp tiles of a drawing, left to right and top to bottom."""
    height, width = len(rows), len(rows[0])
    assert height % 8 == 0 and width % 8 == 0 and all(len(r) == width for r in rows), rows
    out = bytearray()
    for ty in range(0, height, 8):
        for tx in range(0, width, 8):
            for y in range(ty, ty + 8):
                for x in range(tx, tx + 8, 2):
                    out.append(colours[rows[y][x]] | colours[rows[y][x + 1]] << 4)
    return bytes(out)


def hero(legs):
    return tiles_of(HERO_TOP + HERO_LEGS[legs], HERO_COLOURS)


# (location, what, palette, width in tiles, bytes, compressed)
SPRITES = [
    (0x30000, "hero, standing", "C980", 2, hero("standing"), False),
    (0x30100, "slime", "1054C", 2, tiles_of(SLIME, SLIME_COLOURS), False),
    (0x30180, "treasure chest", "29BE4", 2, tiles_of(CHEST, CHEST_COLOURS), False),
    (0x30200, "hero walking, three frames", "C980", 2,
     b"".join(hero(legs) for legs in ("left forward", "standing", "right forward")), True),
    (0x30600, "fruit tree", "1A600", 4, tiles_of(TREE, TREE_COLOURS), True),
]


def palette_like_window(data):
    """The offset of 32 bytes at an even offset that could pass for a palette (16 colour words
    with bit 15 clear and 12 or more distinct byte values, as the palette scanner first asks),
    or None: the sprites must add no palette candidate to the example's scan."""
    for at in range(0, len(data) - 31, 2):
        window = data[at:at + 32]
        if all(window[k] < 0x80 for k in range(1, 32, 2)) and len(set(window)) >= 12:
            return at
    return None


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "examples", "synthetic.gba")
    with open(path, "rb") as f:
        image = bytearray(f.read())
    for location, what, palette, width, data, compressed in SPRITES:
        stored = lz77_compress(data) if compressed else data
        end = location + len(stored)
        here = bytes(image[location:end])
        if here != stored and here != b"\xff" * len(stored):
            sys.exit(f"{path}: {location:X}-{end:X} holds other bytes than padding; nothing written")
        image[location:end] = stored
        # With the padding around it: a window across the sprite's first or last bytes counts.
        near = bytes(image[location - 32:end + 32])
        if (at := palette_like_window(near)) is not None:
            sys.exit(f"{what}: 32 bytes at {location - 32 + at:X} look like a palette; "
                     "nothing written")
        where = f"LZ:{location:X}" if compressed else f"{location:X}"
        print(f"{where}\t{palette}\t{width}x{len(data) // 32 // width} tiles\t{what}")
    with open(path, "wb") as f:
        f.write(image)


if __name__ == "__main__":
    main()
