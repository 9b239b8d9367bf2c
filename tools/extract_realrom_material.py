#!/usr/bin/env python3
"""Re-extracts tools/realrom-material/ from installed Debian packages.

The material of tools/make_real_rom.py is a small selection of files that Debian packages
ship: Thumb code and read-only tables of the embedded toolchain's C library, pixel art, sound
effects, module music and text of free games, and palette files of a paint program. Each
item is in one of two sets: `tune` (what a scanner may be tuned on) and `held` (kept out of
tuning, to measure on). Files are copied as they are, except:
  - code.bin: the .text (Thumb) and .rodata sections of chosen library members, with their
    relocations (R_ARM_ABS32, R_ARM_THM_CALL), in the layout read_code() of make_real_rom.py
    expects;
  - music: the first 16 KiB of each module (header, patterns and the first samples).
The packages' copyright files are copied to copyright/PACKAGE; SOURCES.tsv lists every item.

Needs (apt-get install): libnewlib-arm-none-eabi tecnoballz-data mirrormagic-data
lbreakout2-data mypaint-data blobwars-data hedgewars-data minetest-data pingus-data
supertux-data gnurobbo-data freeciv-data solarwolf kobodeluxe-data ceferino-data
chromium-bsu-data sdl-ball-data freedroid-data berusky-data circuslinux-data
bomberclone-data pioneers-data tuxmath-data starfighter-data pangzero lincity-ng-data
enigma-data gearhead-data caveexpress-data meritous-data.
Usage: tools/extract_realrom_material.py [OUTPUT_FOLDER]   (default tools/realrom-material)
"""
import os
import shutil
import struct
import sys
import zlib

NEWLIB = "/usr/lib/arm-none-eabi/lib/thumb/nofp"
TECNO = "/usr/share/games/tecnoballz"
MIRROR = "/usr/share/games/mirrormagic"
LBREAK = "/usr/share/games/lbreakout2"
MYPAINT = "/usr/share/mypaint/palettes"
BLOBWARS = "/usr/share/games/blobwars/gfx"
HEDGEWARS = "/usr/share/games/hedgewars/Data/Graphics"
MINETEST = "/usr/share/games/minetest/games/minetest_game/mods"
PINGUS = "/usr/share/games/pingus/data/images"
SUPERTUX = "/usr/share/games/supertux2/images"
GNUROBBO = "/usr/share/games/gnurobbo/skins"
FREECIV = "/usr/share/games/freeciv"
SOLARWOLF = "/usr/share/games/solarwolf/data"
KOBO = "/usr/share/kobo-deluxe/gfx"
CEFERINO = "/usr/share/games/ceferino/ima"
CHROMIUM = "/usr/share/games/chromium-bsu/png"
SDLBALL = "/usr/share/games/sdl-ball/default/gfx"
FREEDROID = "/usr/share/games/freedroid/graphics"
BERUSKY = "/usr/share/berusky/Graphics"
CIRCUS = "/usr/share/games/circuslinux/data/images"
BOMBERCLONE = "/usr/share/games/bomberclone/tileset"
PIONEERS = "/usr/share/games/pioneers/themes"
TUXMATH = "/usr/share/tuxmath/images"
STARFIGHTER = "/usr/share/starfighter/gfx"
PANGZERO = "/usr/share/perl5/auto/share/dist/Games-PangZero"
LINCITY = "/usr/share/games/lincity-ng/images"
ENIGMA = "/usr/share/games/enigma/gfx32"
GEARHEAD = "/usr/share/games/gearhead/Image"
CAVEEXPRESS = "/usr/share/games/caveexpress/pics"
MERITOUS = "/usr/share/games/meritous/i"

LICENCES = {
    "libnewlib-arm-none-eabi": "BSD-like and other free licences, per source file",
    "tecnoballz-data": "GPL-3+",
    "mirrormagic-data": "GPL",
    "lbreakout2-data": "GPL",
    "mypaint-data": "per file (see copyright): CC0-1.0, public-domain, GPL-2",
    "blobwars-data": "GPL-2+",
    "hedgewars-data": "GFDL-1.3",
    "minetest-data": "CC-BY-SA-3.0",
    "pingus-data": "GPL-2+",
    "supertux-data": "GPL-3+",
    "gnurobbo-data": "GPL-2+",
    "freeciv-data": "GPL-2+",
    "solarwolf": "LGPL-2.1",
    "kobodeluxe-data": "GPL-2+",
    "ceferino-data": "GPL-2+",
    "chromium-bsu-data": "Clarified-Artistic",
    "sdl-ball-data": "GPL-3+",
    "freedroid-data": "GPL-2+",
    "berusky-data": "GPL-2+",
    "circuslinux-data": "GPL",
    "bomberclone-data": "GPL-2",
    "pioneers-data": "GPL-2+",
    "tuxmath-data": "GPL-3+",
    "starfighter-data": "GPL-2+",
    "pangzero": "GPL-2+",
    "lincity-ng-data": "GPL-2+",
    "enigma-data": "GPL-2",
    "gearhead-data": "LGPL-2+",
    "caveexpress-data": "CC-BY-SA-4.0",
    "meritous-data": "GPL-3+",
}

MYPAINT_LICENCES = {
    "Greys16.gpl": "CC0-1.0", "Classic_4.gpl": "CC0-1.0", "MyPaint_Default.gpl": "CC0-1.0",
    "Zenburn.gpl": "CC0-1.0", "Watercolor.gpl": "public-domain",
    "Tango_Palette.gpl": "public-domain", "Ubuntu.gpl": "GPL-2", "Gnome_Palette.gpl": "GPL-2",
    "Creative_Commons.gpl": "see copyright (Creative Commons colours)",
}
GIMP_PALETTE = "GPL-3+ (from the GIMP distribution)"

# (set, kind, package, source path, name in the material folder)
FILES = []


def add(item_set, kind, package, folder, names):
    for name in names:
        FILES.append((item_set, kind, package, os.path.join(folder, name),
                      os.path.basename(name) if kind != "art" else
                      package.split("-")[0] + "-" + name.replace("/", "-")))


add("tune", "art", "tecnoballz-data", TECNO + "/lores",
    ["all_sprites.png", "bricks.png", "shop.png", "head_animation.png", "paddles_1.png",
     "gigablitz.png", "right_panel.png", "game_fonts.png", "menu_fonts.png"])
add("tune", "art", "tecnoballz-data", TECNO + "/textures",
    [f"map{n:02d}.png" for n in (1, 2, 3, 5, 9, 14, 17, 21, 26, 33, 45, 52, 58, 63, 72)])
# More games' art in the tuning set, so that a scanner fitted on it does not learn one artist.
add("tune", "art", "blobwars-data", BLOBWARS,
    ["sprites/eyeDroidLeft1.png", "sprites/cherryPlant.png", "mech/120.png"])
add("tune", "art", "hedgewars-data", HEDGEWARS,
    ["Hats/Elvis.png", "Hats/NinjaStraight.png", "Hats/cap_team.png", "Graves/Bone.png",
     "Graves/Rip.png", "Hedgehog/amVamp.png"])
add("tune", "art", "minetest-data", MINETEST + "/doors/textures",
    ["doors_door_wood.png", "doors_door_steel.png"])
add("tune", "art", "pingus-data", PINGUS + "/pingus/player0", ["bomber.png", "climber.png"])
add("tune", "art", "pingus-data", PINGUS,
    ["groundpieces/ground/snow/cabin.png", "groundpieces/solid/industrial/greybri1.png",
     "groundpieces/ground/misc/stoneblock5.png", "liquids/swater.png", "entrances/entrance.png"])
add("tune", "art", "supertux-data", SUPERTUX,
    ["decal/retro/copter1.png", "decal/retro/mints.png", "tiles/blocks/retro_brick.png"])
# Pictures of at most 256 colours: an 8bpp background indexes a picture's palette directly.
add("tune", "art", "gnurobbo-data", GNUROBBO,
    ["original/icons16.png", "tronic/icons32.png", "tronic/k_icons32.png"])
add("tune", "art", "freeciv-data", FREECIV,
    ["trident/units.png", "trident/roads.png", "isotrident/cities.png", "isotrident/nuke.png"])
add("tune", "art", "solarwolf", SOLARWOLF,
    ["oldsolarfox.png", "ship-warp.png", "bonus-shield.png"])
add("tune", "art", "kobodeluxe-data", KOBO, ["bolt.png", "boltexpl.png", "crosshair.png"])
add("tune", "art", "ceferino-data", CEFERINO, ["icono.png", "niveles.png", "cargando.png"])
add("tune", "art", "chromium-bsu-data", CHROMIUM,
    ["enemy01-extra.png", "powerUpAmmo.png", "life.png"])
add("tune", "art", "sdl-ball-data", SDLBALL,
    ["brick/doom.png", "paddle/gun.png", "paddle/glue.png"])
add("tune", "art", "freedroid-data", FREEDROID,
    ["classic_theme/blast.png", "lanzz_theme/droids.png", "classic_theme/digits.png"])
add("tune", "art", "berusky-data", BERUSKY,
    ["global1.png", "hraci1.png", "menu4.png", "controls.png"])
add("tune", "art", "circuslinux-data", CIRCUS,
    ["acts/bear-left-0.png", "clowns/body-left.png", "status/clown-head.png",
     "teeter-totter/left-1.png"])
add("tune", "art", "bomberclone-data", BOMBERCLONE,
    ["classic/stone.png", "cucumber/powerup.png", "zbb_frog/background.png",
     "radioactive/block.png"])
add("tune", "art", "pioneers-data", PIONEERS,
    ["FreeCIV-like/mountain.png", "FreeCIV-like/forest.png", "FreeCIV-like/hill.png",
     "Classic/field.png"])
add("tune", "art", "tuxmath-data", TUXMATH,
    ["comets/comet0.png", "cities/cdead-blue.png", "status/led_neg_sign.png",
     "sprites/nums3.png"])
add("tune", "art", "starfighter-data", STARFIGHTER,
    ["face_kline.png", "plutoBoss1.png", "icon14.png", "alienDevice.png"])
add("tune", "art", "pangzero", PANGZERO, ["guy_pix.png", "harpoon.png", "Balls-Seeker32.png"])
add("tune", "art", "lincity-ng-data", LINCITY,
    ["tiles/blank.png", "tiles/shanty.png", "gui/buttonpanel/cow.png"])
add("tune", "art", "enigma-data", ENIGMA,
    ["fl_wood.png", "fl_brick.png", "st_box_wood.png", "it_bomb.png"])
# Sprites on a key colour (pure blue) that the game draws as transparent.
add("tune", "art", "gearhead-data", GEARHEAD,
    ["btr_musketeer.png", "aer_drone.png", "blast64.png"])
add("tune", "art", "caveexpress-data", CAVEEXPRESS,
    ["caveexpress-npc_woman-small.png", "caveexpress-npc_flying-small.png"])
# Grey-level pictures: their palettes are ramps of greys.
add("tune", "art", "meritous-data", MERITOUS, ["player.png", "mons1.png", "artifacts.png"])
add("held", "art", "mirrormagic-data", MIRROR + "/graphics/gfx_classic",
    ["RocksHeroes.png", "RocksMM.png", "RocksDF.png", "RocksToons.png", "RocksMore.png",
     "RocksFontSmall.png", "RocksDoor2.png"])
add("held", "art", "mirrormagic-data", MIRROR + "/graphics/gfx_mirrormagic",
    ["MirrorTitle.png", "MirrorPanel.png"])
add("held", "art", "lbreakout2-data", LBREAK + "/gfx",
    ["life.png", "weapon.png", "ball.png", "balloon.png", "scroll_up.png", "shot.png",
     "AbsoluteB/back4.png", "AbsoluteB/weapon.png", "AbsoluteB/shot.png"])
add("tune", "palettes", "mypaint-data", MYPAINT,
    ["GIMP_Default.gpl", "Browns_And_Yellows.gpl", "Cool_Colors.gpl", "Warm_Colors.gpl",
     "Reds_And_Purples.gpl", "Pastels.gpl", "Greys16.gpl", "Zenburn.gpl", "Tango_Palette.gpl",
     "Visibone_2.gpl"])
add("held", "palettes", "mypaint-data", MYPAINT,
    ["Muted.gpl", "Classic_4.gpl", "Creative_Commons.gpl", "Gnome_Palette.gpl", "Ubuntu.gpl",
     "Watercolor.gpl", "MyPaint_Default.gpl", "Visibone.gpl"])
add("tune", "sound", "tecnoballz-data", TECNO + "/sounds",
    ["ralarm.wav", "rappar.wav", "rbricote.wav", "rbrique1.wav", "rexplo_big.wav",
     "rgadget_sound.wav", "rlife_plus.wav", "rmoney.wav", "rtecno.wav", "rtransfo.wav",
     "rtir_monstre.wav", "reject.wav"])
add("held", "sound", "mirrormagic-data", MIRROR + "/sounds/snd_classic",
    ["amoebe.wav", "blurb.wav", "bug.wav", "buing.wav", "deng.wav", "gong.wav", "kabumm.wav",
     "klapper.wav", "laser.wav", "njam.wav", "quirk.wav", "whoosh.wav"])
add("tune", "music", "tecnoballz-data", TECNO + "/musics", ["area1-game.mod", "high-score.mod"])
add("held", "music", "tecnoballz-data", TECNO + "/musics", ["gardien-go.mod", "over-theme.mod"])
add("tune", "text", "tecnoballz-data", TECNO + "/texts",
    ["main_menu_en.txt", "shop_en.txt", "shop_fr.txt", "short_info_messages_en.txt",
     "short_info_messages_fr.txt", "scrolltext_en.txt", "scrolltext_fr.txt", "popup_menu_en.txt"])
add("held", "text", "mirrormagic-data",
    MIRROR + "/levels/Classic_Games/classic_mindbender/docs",
    [f"levelset/levelset_{n}.txt" for n in range(1, 9)] +
    ["credits/credits_1.txt", "credits/credits_2.txt"])

# Library members: the tuning set's code is the C library's, the held set's the maths library's.
# (set, library, bytes to take, take one member in `every`)
CODE = [("tune", NEWLIB + "/libc.a", 80 * 1024, 3), ("held", NEWLIB + "/libm.a", 64 * 1024, 1)]
MUSIC_BYTES = 16 * 1024

# Relocation targets written to code.bin.
TARGET_CODE, TARGET_ROM, TARGET_RAM, TARGET_EXTERN_CALL, TARGET_EXTERN_DATA = range(5)
SECTION_TEXT, SECTION_RODATA = 0, 1
R_ARM_ABS32, R_ARM_THM_CALL = 2, 10


def ar_members(path):
    """(name, bytes) of each member of a System V ar archive (GNU long names)."""
    data = open(path, "rb").read()
    assert data[:8] == b"!<arch>\n", path
    at, names = 8, b""
    while at + 60 <= len(data):
        header = data[at:at + 60]
        name = header[:16].decode().strip()
        size = int(header[48:58])
        body = data[at + 60:at + 60 + size]
        at += 60 + size + (size & 1)
        if name == "//":
            names = body
        elif name.startswith("/") and name[1:].isdigit():
            start = int(name[1:])
            yield names[start:names.index(b"/\n", start)].decode(), body
        elif name not in ("/", "/SYM64/"):
            yield name.rstrip("/"), body


def elf_sections(elf):
    """The sections of a little-endian ELF32 object: list of dicts."""
    assert elf[:4] == b"\x7fELF" and elf[4] == 1 and elf[5] == 1
    shoff, = struct.unpack_from("<I", elf, 0x20)
    shentsize, shnum, shstrndx = struct.unpack_from("<HHH", elf, 0x2E)
    sections = []
    for i in range(shnum):
        name, kind, flags, _, offset, size, link, info, _, entsize = struct.unpack_from(
            "<10I", elf, shoff + i * shentsize)
        sections.append(dict(name_at=name, type=kind, flags=flags, offset=offset, size=size,
                             link=link, info=info, entsize=entsize))
    strtab = sections[shstrndx]
    for s in sections:
        s["name"] = c_string(elf, strtab["offset"] + s["name_at"])
    return sections


def c_string(data, at):
    return data[at:data.index(b"\0", at)].decode()


def object_sections(elf):
    """Thumb .text and .rodata sections of one object with their relocations, or [] when
    the object holds ARM code."""
    sections = elf_sections(elf)
    symtab = next((s for s in sections if s["type"] == 2), None)
    if symtab is None:
        return []
    strings = sections[symtab["link"]]["offset"]
    symbols = []
    for k in range(symtab["size"] // 16):
        name, value, _, info, _, shndx = struct.unpack_from("<IIIBBH", elf,
                                                            symtab["offset"] + 16 * k)
        symbols.append((c_string(elf, strings + name), value, info, shndx))
    if any(name == "$a" for name, *_ in symbols):
        return []  # ARM state code: a GBA game's ROM code is Thumb
    out = []
    for index, s in enumerate(sections):
        if s["type"] != 1 or s["size"] == 0:
            continue
        if s["name"].startswith(".text"):
            kind = SECTION_TEXT
        elif s["name"].startswith(".rodata"):
            kind = SECTION_RODATA
        else:
            continue
        body = elf[s["offset"]:s["offset"] + s["size"]]
        relocations = []
        for r in sections:
            if r["type"] != 9 or r["info"] != index:  # SHT_REL for this section
                continue
            for k in range(r["size"] // 8):
                offset, info = struct.unpack_from("<II", elf, r["offset"] + 8 * k)
                kind_of = info & 0xFF
                if kind_of not in (R_ARM_ABS32, R_ARM_THM_CALL):
                    continue
                shndx = symbols[info >> 8][3]
                target_name = sections[shndx]["name"] if 0 < shndx < len(sections) else ""
                if shndx == 0:
                    target = TARGET_EXTERN_CALL if kind_of == R_ARM_THM_CALL else \
                        TARGET_EXTERN_DATA
                elif target_name.startswith(".text"):
                    target = TARGET_CODE
                elif target_name.startswith(".rodata"):
                    target = TARGET_ROM
                else:
                    target = TARGET_RAM
                relocations.append((offset, kind_of, target))
        out.append((kind, s["name"], body, relocations))
    return out


def write_code(path, library, budget, every):
    """One member in `every` (by a hash of its name, so that the pick spreads over the
    library), each whole, in name order, until `budget` bytes of sections are taken."""
    records, taken = [], 0
    for name, elf in sorted(ar_members(library)):
        if zlib.crc32(name.encode()) % every:
            continue
        sections = object_sections(elf)
        size = sum(len(body) for _, _, body, _ in sections)
        if not sections or size > 4096 or taken + size > budget:
            continue
        for kind, section, body, relocations in sections:
            records.append((kind, f"{name}:{section}", body, relocations))
        taken += size
    with open(path, "wb") as f:
        f.write(b"ZRRC" + struct.pack("<I", len(records)))
        for kind, name, body, relocations in records:
            label = name.encode()
            f.write(struct.pack("<BB", kind, len(label)) + label)
            f.write(struct.pack("<I", len(body)) + body + struct.pack("<H", len(relocations)))
            for offset, kind_of, target in relocations:
                f.write(struct.pack("<IBB", offset, kind_of, target))
    return taken


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "realrom-material")
    rows = []
    for item_set, kind, package, source, name in FILES:
        folder = os.path.join(out, item_set, kind)
        os.makedirs(folder, exist_ok=True)
        target = os.path.join(folder, name)
        with open(source, "rb") as f:
            data = f.read(MUSIC_BYTES) if kind == "music" else f.read()
        with open(target, "wb") as f:
            f.write(data)
        licence = LICENCES[package]
        if kind == "palettes":
            licence = MYPAINT_LICENCES.get(name, GIMP_PALETTE)
        note = "first 16384 bytes" if kind == "music" else "as shipped"
        rows.append((f"{item_set}/{kind}/{name}", package, source, licence, note))
    for item_set, library, budget, every in CODE:
        folder = os.path.join(out, item_set, "code")
        os.makedirs(folder, exist_ok=True)
        write_code(os.path.join(folder, "code.bin"), library, budget, every)
        rows.append((f"{item_set}/code/code.bin", "libnewlib-arm-none-eabi", library,
                     LICENCES["libnewlib-arm-none-eabi"],
                     ".text and .rodata of Thumb members with their relocations"))
    copyrights = os.path.join(out, "copyright")
    os.makedirs(copyrights, exist_ok=True)
    for package in sorted(LICENCES):
        shutil.copyfile(f"/usr/share/doc/{package}/copyright", os.path.join(copyrights, package))
    with open(os.path.join(out, "SOURCES.tsv"), "w") as f:
        f.write("file\tpackage\tpath in the package\tlicence\ttaken\n")
        for row in rows:
            f.write("\t".join(row) + "\n")


if __name__ == "__main__":
    main()
