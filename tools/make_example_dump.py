#!/usr/bin/env python3
"""Writes examples/palette-ram.dmp: a 1 KiB dump of the GBA's palette RAM.

The GBA keeps 16 background palettes (0x000-0x1FF) and 16 object palettes (0x200-0x3FF) of
16 colours each; a colour is a little-endian 15-bit word, red in bits 0-4, green 5-9, blue
10-14. Each palette here is a small, hand-tuned set: ramps, skin, foliage, water, stone and
interface colours, so a new user has something pleasant to open and edit.

Usage: tools/make_example_dump.py [OUTPUT]   (default: examples/palette-ram.dmp)
"""
import os
import sys


def word(r, g, b):
    """8-bit components to a 15-bit GBA colour word (nearest 5-bit value)."""
    def five(v):
        return min(31, max(0, round(v * 31 / 255)))
    return five(r) | five(g) << 5 | five(b) << 10


def hexrgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def ramp(stops, count):
    """`count` colours evenly along the polyline through the hex colour stops."""
    points = [hexrgb(s) for s in stops]
    out = []
    for k in range(count):
        t = k * (len(points) - 1) / (count - 1)
        i = min(int(t), len(points) - 2)
        f = t - i
        a, b = points[i], points[i + 1]
        out.append(tuple(a[c] + (b[c] - a[c]) * f for c in range(3)))
    return out


def palette(*parts):
    """Colour 0 is the transparent backdrop; then the given ramps, filled to 16 colours."""
    colours = [hexrgb("#000000")]
    for stops, count in parts:
        colours += ramp(stops, count)
    assert len(colours) == 16, len(colours)
    return colours


BACKGROUND = [
    palette((["#0b0b12", "#ffffff"], 15)),                                    # grey ramp
    palette((["#200808", "#c02020", "#ffd0c0"], 15)),                          # red ramp
    palette((["#081808", "#2f8f2f", "#d8ffc8"], 15)),                          # green ramp
    palette((["#060818", "#2840c0", "#c8d8ff"], 15)),                          # blue ramp
    palette((["#0f2a12", "#2e6b2a", "#6cae3c", "#c8e070"], 8),                 # foliage
            (["#2b1a0e", "#6b4424", "#a87848", "#e0c090"], 7)),                # bark and soil
    palette((["#061830", "#1058a0", "#40a8e0", "#e8f8ff"], 10),                # water
            (["#d8c088", "#f8f0c8"], 5)),                                      # sand
    palette((["#101014", "#50505c", "#9898a4", "#e0e0e8"], 10),                # stone
            (["#2a2418", "#6a5c40", "#b0a070"], 5)),                           # moss and mortar
    palette((["#100800", "#803010", "#f0a020", "#fff0a0"], 15)),               # fire
    palette((["#081020", "#283868", "#6070b0", "#a8b8f0"], 8),                 # night sky
            (["#f0f0c0", "#fff8e0", "#ffffff"], 7)),                           # stars
    palette((["#1a0c04", "#5a3010", "#9a6028", "#d8a060"], 15)),               # wood
    palette((["#101828", "#406080", "#a0c0d8", "#ffffff"], 15)),               # ice and snow
    palette((["#200828", "#6a2080", "#c060d0", "#f8d0ff"], 15)),               # magic purple
    palette((["#281800", "#8a6000", "#e0b020", "#fff8b0"], 15)),               # gold
    palette((["#0a1a10", "#1a5a3a", "#3aa070", "#a0f0c8"], 15)),               # jade
    palette((["#180808", "#602018", "#b05030", "#f0a880"], 8),                 # brick
            (["#303030", "#787068", "#c8c0b0"], 7)),                           # roof stone
    palette((["#000000", "#ffffff"], 2), (["#ff0000", "#ff8000", "#ffff00", "#00ff00",
                                           "#00ffff", "#0000ff", "#ff00ff"], 13)),  # test bars
]

OBJECTS = [
    palette((["#3a1c10", "#a06040", "#e8b090", "#ffe8d8"], 6),                 # hero: skin
            (["#101840", "#2848a0", "#70a0f0"], 4),                            # tunic
            (["#201008", "#604020", "#b08050"], 3),                            # hair and boots
            (["#808890", "#e0e8f0"], 2)),                                      # sword
    palette((["#2a1408", "#804828", "#c88860", "#f8d0b0"], 6),                 # villager: skin
            (["#400c0c", "#a02828", "#f07070"], 4),                            # dress
            (["#f0e0a0", "#ffffff"], 2),                                       # apron
            (["#101010", "#404040", "#808080"], 3)),                           # hair
    palette((["#081808", "#286018", "#60b030", "#c0f080"], 10),                # slime
            (["#ffffff", "#ff3030", "#200000"], 3),                            # eyes
            (["#000000", "#0c2008"], 2)),                                      # shadow
    palette((["#200810", "#702040", "#d04878", "#ffb0c8"], 15)),               # pink enemy
    palette((["#101010", "#383040", "#686070", "#a8a0b0", "#e8e0f0"], 15)),    # skeleton
    palette((["#100400", "#602000", "#d06010", "#ffc040", "#ffffc0"], 15)),    # fireball
    palette((["#000818", "#003070", "#2080e0", "#a0e0ff"], 15)),               # water spirit
    palette((["#181000", "#705000", "#e0c000", "#ffffa0"], 8),                 # coin
            (["#400000", "#c00000", "#ff8080"], 7)),                           # heart
    palette((["#0c0c0c", "#ffffff"], 8), (["#003800", "#00c000", "#80ff80"], 7)),  # text box
    palette((["#000820", "#0838a0", "#5888e8", "#c8e0ff"], 8),                 # menu frame
            (["#302000", "#c09000", "#fff080"], 7)),                           # menu cursor
    palette((["#201008", "#704020", "#c08048", "#f8d8a8"], 6),                 # merchant skin
            (["#082008", "#207020", "#60c060"], 4),                            # cloak
            (["#400848", "#a030b0", "#f090f8"], 3),                            # hat
            (["#c0a000", "#fff060"], 2)),                                      # buckle
    palette((["#102010", "#305828", "#60a040"], 5),                            # bird: wings
            (["#602000", "#e08020", "#ffd060"], 5),                            # breast
            (["#101010", "#f0f0f0"], 5)),                                      # eye and beak
    palette((["#181818", "#505058", "#9090a0", "#d8d8e8"], 15)),               # armour
    palette((["#280008", "#800020", "#e00040", "#ff90b0"], 8),                 # dragon red
            (["#302000", "#a07000", "#ffd040"], 7)),                           # dragon belly
    palette((["#000000", "#404040", "#808080", "#c0c0c0", "#ffffff"], 15)),    # shadow ramp
    palette((["#100020", "#4010a0", "#8040ff", "#e0c0ff"], 15)),               # crystal
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "examples", "palette-ram.dmp")
    out_path = sys.argv[1] if len(sys.argv) > 1 else default
    data = bytearray()
    for pal in BACKGROUND + OBJECTS:
        for r, g, b in pal:
            w = word(r, g, b)
            data += bytes((w & 0xFF, w >> 8))
    assert len(data) == 1024, len(data)
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    with open(out_path, "wb") as f:
        f.write(data)
    print(f"wrote {out_path} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
