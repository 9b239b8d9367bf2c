#!/usr/bin/env bash
# Replays a hostile user's inputs against the built zandrel-cli: named pipes and devices where
# files belong, huge sparse files, writers running at once or while another program holds the
# file, compressed blocks written again and again. Every run must end within a few seconds
# with the expected exit status and message, and every file a run was not allowed to write
# must keep its bytes. Needs python3, which also makes and reads LZ77 blocks on its own.
#
# Usage: tools/hostile.sh [FOLDER OF THE BUILT PROGRAMS]   (default: build/bin)
# Each fault has a function of its own (item1_..., item2_..., item3_..., ...); add new ones
# to ITEMS.
# The window's commands reach files through the same core functions as the tool's; only the
# sample preview, which the tool does not have, is run in the window, through its hooks.
set -uo pipefail

BIN=$(realpath "${1:-$(dirname "$0")/../build/bin}")
CLI="$BIN/zandrel-cli"
LIMIT=6 # seconds any one run may take; the lock wait is 3
EXAMPLES=$(realpath "$(dirname "$0")/../examples")
ITEMS=(item1_export_onto_the_rom item2_strict_locations item3_import_by_content
    item4_concurrent_writers item5_fifos_and_devices item6_huge_inputs item7_new_files_and_streams
    item8_hostile_scans item9_tiles_images item_lz_room item_lz_words item_lz_large_block
    item_cache_links item_patches_and_finds)
SCAN_LIMIT=30 # seconds a scan of 32 MiB may take on a loaded machine (about 4 s when idle)

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# Definition files in the user's own data folder would be read before the ones set up here.
export XDG_DATA_HOME=$WORK/user-data
# One line per failure, in a file, so runs in the background count too.
FAILED=$WORK/failed
: >"$FAILED"

fail() {
    echo "FAIL [$CURRENT]: $*" >&2
    echo "$CURRENT" >>"$FAILED"
}
failures() { wc -l <"$FAILED"; }

# run STATUS MESSAGE_PART PROGRAM ARGS...: runs under the time limit and checks the exit
# status and, when MESSAGE_PART is not empty, that the error output contains it.
run() {
    local want=$1 part=$2
    shift 2
    local err
    err=$(timeout "$LIMIT" "$@" 2>&1 >/dev/null)
    local got=$?
    if [ "$got" -eq 124 ]; then
        fail "still running after ${LIMIT} s: $*"
    elif [ "$got" -ne "$want" ]; then
        fail "exit $got, expected $want: $* -> $err"
    elif [ -n "$part" ] && [[ "$err" != *"$part"* ]]; then
        fail "no \"$part\" in: $err ($*)"
    fi
}

# keep FILE...: remembers the files' bytes; unchanged FILE... checks them against it.
keep() { for f in "$@"; do cp -- "$f" "$f.kept"; done; }
unchanged() {
    for f in "$@"; do
        cmp -s -- "$f" "$f.kept" || fail "$f changed"
    done
}

rom() { head -c 1024 /dev/urandom >"$1"; }

# A copy of the program in a folder of its own, beside the definition file it is to read.
program_in() {
    mkdir -p "$1"
    cp "$CLI" "$1/zandrel-cli"
}

# Exporting onto the ROM itself through a symbolic link, a hard link or the ROM's own name
# with a palette extension: refused, the ROM keeps every byte.
item1_export_onto_the_rom() {
    local dir=$WORK/item1 msg="é o próprio arquivo"
    mkdir -p "$dir"
    head -c 65536 /dev/urandom >"$dir/game.gba"
    cp "$dir/game.gba" "$dir/game.GBAPAL"
    keep "$dir/game.gba" "$dir/game.GBAPAL"
    ln -s "$dir/game.gba" "$dir/self.tpl"
    ln "$dir/game.gba" "$dir/hard.pal"
    for target in self.tpl hard.pal; do
        run 1 "$msg" "$CLI" export "$dir/game.gba" @0 "$dir/$target"
    done
    run 1 "$msg" "$CLI" export "$dir/game.GBAPAL" @0 "$dir/game.GBAPAL"
    unchanged "$dir/game.gba" "$dir/game.GBAPAL"
}

# Definition rows whose location is not strict hex (a blank before or after, a sign, a value
# past 7FFFFFFF, nothing, a prefix): show, set and import refuse them with the file's line and
# write nothing. A lower-case location is hex all the same: "1a0" reads the bytes at 1A0.
item2_strict_locations() {
    local dir=$WORK/item2 cli=$WORK/item2/program/zandrel-cli
    mkdir -p "$dir"
    program_in "$dir/program"
    printf '16,%s,P\r\n' '1A0 ' ' 1A0' -1 FFFFFFFF '' 0x1A0 1a0 >"$dir/program/MEMORYDUMP.ZNDL"
    rom "$dir/game.dmp"
    head -c 32 /dev/urandom >"$dir/in.gbapal"
    keep "$dir/game.dmp"
    local row
    for row in 0 1 2 3 4 5; do
        local msg="linha $((row + 1)): a localização"
        run 1 "$msg" "$cli" show "$dir/game.dmp" "$row"
        run 1 "$msg" "$cli" set "$dir/game.dmp" "$row" 0=7FFF
        run 1 "$msg" "$cli" import "$dir/game.dmp" "$row" "$dir/in.gbapal"
    done
    unchanged "$dir/game.dmp"
    # The same hex pairs, whitespace aside.
    local shown expected
    shown=$(echo $(timeout "$LIMIT" "$cli" bytes "$dir/game.dmp" 6))
    expected=$(echo $(od -An -v -tx1 -j $((0x1A0)) -N 32 "$dir/game.dmp" | tr a-f A-F))
    [ -n "$shown" ] && [ "$shown" = "$expected" ] || fail "row 1a0 did not read 1A0: $shown"
}

# Import files read by their content: a JASC text under a raw palette's name gives its own
# colours; a 4-byte file, a broken JASC text and a folder are refused and write nothing.
item3_import_by_content() {
    local dir=$WORK/item3
    mkdir -p "$dir"
    rom "$dir/game.gba"
    {
        printf 'JASC-PAL\r\n0100\r\n16\r\n'
        for _ in $(seq 16); do printf '248 0 0\r\n'; done
    } >"$dir/jasc.gbapal"
    run 0 "" "$CLI" import "$dir/game.gba" @0 "$dir/jasc.gbapal"
    local shown
    shown=$(timeout "$LIMIT" "$CLI" show "$dir/game.gba" @0 | cut -f2 | sort -u)
    [ "$shown" = 001F ] || fail "the JASC colours were not imported: $shown"

    keep "$dir/game.gba"
    printf '\x1f\x00\xe0\x03' >"$dir/four.gbapal"
    printf 'JASC-PAL\r\n0100\r\n16\r\n0 0 0\r\n' >"$dir/broken.gbapal"
    mkdir "$dir/folder.gbapal"
    run 1 "nem uma paleta GBA" "$CLI" import "$dir/game.gba" @0 "$dir/four.gbapal"
    run 1 "linha 5" "$CLI" import "$dir/game.gba" @0 "$dir/broken.gbapal"
    run 1 "É uma pasta" "$CLI" import "$dir/game.gba" @0 "$dir/folder.gbapal"
    unchanged "$dir/game.gba"
}

# A named pipe given as the ROM, the definition file, the palette to import or the export
# target, and devices linked under palette names: each refused at once, nothing written.
item5_fifos_and_devices() {
    local dir=$WORK/item5 msg="Não é um arquivo comum"
    mkdir -p "$dir"
    mkfifo "$dir/pipe.gba"
    rom "$dir/game.gba"
    rom "$dir/in.gbapal"
    keep "$dir/game.gba" "$dir/in.gbapal"
    run 1 "$msg" "$CLI" identify "$dir/pipe.gba"
    run 1 "$msg" "$CLI" scan "$dir/pipe.gba"
    run 1 "$msg" "$CLI" list "$dir/pipe.gba"
    for command in show bytes; do
        run 1 "$msg" "$CLI" "$command" "$dir/pipe.gba" @0
    done
    run 1 "$msg" "$CLI" set "$dir/pipe.gba" @0 0=7FFF
    run 1 "$msg" "$CLI" export "$dir/pipe.gba" @0 "$dir/out.gbapal"
    run 1 "$msg" "$CLI" import "$dir/pipe.gba" @0 "$dir/in.gbapal"
    [ -e "$dir/out.gbapal" ] && fail "export from a pipe created its target"

    mkfifo "$dir/pipe.gbapal" "$dir/pipe.pal"
    ln -s /dev/zero "$dir/zero.gbapal"
    ln -s /dev/null "$dir/null.gpl"
    for palette in pipe.gbapal pipe.pal zero.gbapal; do
        run 1 "$msg" "$CLI" import "$dir/game.gba" @0 "$dir/$palette"
    done
    for target in pipe.gbapal null.gpl; do
        run 1 "$msg" "$CLI" export "$dir/game.gba" @0 "$dir/$target"
    done

    program_in "$dir/program"
    # A regular definition file marks the folder as the program's data folder; the pipe
    # alone would send the program to ../share/zandrel.
    : >"$dir/program/TORV_E.ZNDL"
    mkfifo "$dir/program/MEMORYDUMP.ZNDL"
    cp "$dir/game.gba" "$dir/game.dmp"
    keep "$dir/game.dmp"
    run 1 "$msg" "$dir/program/zandrel-cli" list "$dir/game.dmp"
    run 1 "$msg" "$dir/program/zandrel-cli" set "$dir/game.dmp" 0 0=7FFF
    unchanged "$dir/game.gba" "$dir/in.gbapal" "$dir/game.dmp"
}

# Sparse files far larger than any palette or definition file: refused by their size at
# once, without reading them.
item6_huge_inputs() {
    local dir=$WORK/item6
    mkdir -p "$dir"
    rom "$dir/game.gba"
    keep "$dir/game.gba"
    for palette in huge.gbapal huge.pal huge.gpl huge.act huge.tpl; do
        truncate -s 2G "$dir/$palette"
        run 1 "O arquivo passa do limite de 1 MiB" "$CLI" import "$dir/game.gba" @0 "$dir/$palette"
    done

    truncate -s 3G "$dir/huge.gba"
    run 1 "O arquivo passa do limite de 32 MiB" "$CLI" scan "$dir/huge.gba"

    program_in "$dir/program"
    truncate -s 3G "$dir/program/MEMORYDUMP.ZNDL"
    cp "$dir/game.gba" "$dir/game.dmp"
    keep "$dir/game.dmp"
    run 1 "O arquivo passa do limite de 64 MiB" "$dir/program/zandrel-cli" list "$dir/game.dmp"
    run 1 "O arquivo passa do limite de 64 MiB" "$dir/program/zandrel-cli" set "$dir/game.dmp" 0 0=1
    unchanged "$dir/game.gba" "$dir/game.dmp"
}

# tiles: a pipe as FILE or as OUT.png, OUT.png a link to the ROM, a block that claims 16 MiB
# in a 1 KiB file, a huge file to scan for graphics: each refused at once. OUT.png a link to
# another file: the link is replaced by the image, the file it led to keeps its bytes.
item9_tiles_images() {
    local dir=$WORK/item8 msg="Não é um arquivo comum"
    mkdir -p "$dir"
    rom "$dir/game.gba"
    { printf '\x10\xff\xff\xff' && head -c 508 /dev/zero; } |
        dd of="$dir/game.gba" bs=1 seek=512 conv=notrunc status=none
    rom "$dir/other.png"
    keep "$dir/game.gba" "$dir/other.png"
    mkfifo "$dir/pipe.gba" "$dir/pipe.png"
    ln -s "$dir/game.gba" "$dir/self.png"
    ln -s "$dir/other.png" "$dir/link.png"
    run 1 "$msg" "$CLI" tiles "$dir/pipe.gba" @0 @0 "$dir/out.png"
    run 1 "$msg" "$CLI" tiles "$dir/game.gba" @0 @0 "$dir/pipe.png"
    run 1 "é o próprio arquivo" "$CLI" tiles "$dir/game.gba" @0 @0 "$dir/self.png"
    run 1 "o arquivo termina antes" "$CLI" tiles "$dir/game.gba" @LZ:200 @0 "$dir/out.png"
    [ -e "$dir/out.png" ] && fail "a refused tiles run created its output"
    run 0 "" "$CLI" tiles "$dir/game.gba" @0 @0 "$dir/link.png"
    [ -L "$dir/link.png" ] && fail "the output link was written through, not replaced"
    truncate -s 3G "$dir/huge.gba"
    run 1 "O arquivo passa do limite de 32 MiB" "$CLI" scan --graphics "$dir/huge.gba"
    unchanged "$dir/game.gba" "$dir/other.png"
}

# Eight `set` runs at once, each on two indexes of its own at the ends of a range that
# overlaps every other run's, twenty times: every word lands and no byte outside the palette
# changes. Then, while another program holds the file's lock, `set` and `import` give up
# after their wait and write nothing.
item4_concurrent_writers() {
    local dir=$WORK/item4 rom=$WORK/item4/game.gba
    mkdir -p "$dir"
    rom "$rom"
    keep "$rom"
    local trial writer
    for trial in $(seq 1 20); do
        for writer in 0 1 2 3 4 5 6 7; do
            run 0 "" "$CLI" set "$rom" @200 \
                "$writer=$(printf '%X' $((trial * 256 + writer)))" \
                "$((writer + 8))=$(printf '%X' $((trial * 256 + writer + 8)))" &
        done
        wait
        local expected="" index
        for index in $(seq 0 15); do
            expected+="$index $(printf '%04X' $((trial * 256 + index)))"$'\n'
        done
        local shown
        shown=$(timeout "$LIMIT" "$CLI" show "$rom" @200 | cut -f1,2 | tr '\t' ' ')
        [ "$shown"$'\n' = "$expected" ] || fail "trial $trial lost a word:"$'\n'"$shown"
    done
    # The bytes outside the 32 of the palette are as they were.
    dd if="$rom" of="$rom.kept" bs=1 skip=512 seek=512 count=32 conv=notrunc status=none
    unchanged "$rom"

    rom "$dir/in.gbapal"
    keep "$rom"
    exec 9<>"$rom"
    flock -x 9
    run 1 "O arquivo está em uso por outro programa" "$CLI" set "$rom" @0 0=7FFF &
    run 1 "O arquivo está em uso por outro programa" "$CLI" import "$rom" @0 "$dir/in.gbapal" &
    wait
    exec 9>&-
    unchanged "$rom"
}

# scan -o: an existing file is kept without --force; the scanned ROM itself, a named pipe, a
# read-only file and a missing folder are refused even with it; a link there is replaced,
# never written through; a scan that finds nothing creates nothing. An endless standard input
# is cut at a palette file's limit. A user's definition file that is a pipe is named.
item7_new_files_and_streams() {
    local dir=$WORK/item7 rom=$WORK/item7/game.gba
    mkdir -p "$dir" "$XDG_DATA_HOME/zandrel"
    cp "$EXAMPLES/synthetic.gba" "$rom"
    echo kept >"$dir/old.ZNDL"
    echo other >"$dir/other.txt"
    cp "$dir/old.ZNDL" "$dir/readonly.ZNDL"
    chmod a-w "$dir/readonly.ZNDL"
    ln -s "$rom" "$dir/self.ZNDL"
    ln -s "$dir/other.txt" "$dir/link.ZNDL"
    mkfifo "$dir/pipe.ZNDL"
    keep "$rom" "$dir/old.ZNDL" "$dir/other.txt" "$dir/readonly.ZNDL"
    run 1 "o arquivo já existe" "$CLI" scan "$rom" -o "$dir/old.ZNDL"
    run 1 "é o próprio arquivo" "$CLI" scan "$rom" -o "$dir/self.ZNDL" --force
    run 1 "Não é um arquivo comum" "$CLI" scan "$rom" -o "$dir/pipe.ZNDL" --force
    run 1 "Permissão negada" "$CLI" scan "$rom" -o "$dir/readonly.ZNDL" --force
    run 1 "Arquivo ou pasta inexistente" "$CLI" scan "$rom" -o "$dir/none/new.ZNDL"
    run 0 "" "$CLI" scan "$rom" -o "$dir/link.ZNDL" --force
    [ -L "$dir/link.ZNDL" ] && fail "the link at -o was written through"
    head -c 4096 /dev/zero >"$dir/zero.gba"
    run 1 "nenhuma paleta encontrada" "$CLI" scan "$dir/zero.gba" -o "$dir/new.ZNDL"
    [ -e "$dir/new.ZNDL" ] && fail "a scan that found nothing created its file"
    [ -n "$(find "$dir" -name '*.part*')" ] && fail "a part file was left behind"
    run 1 "O arquivo passa do limite de 1 MiB" "$CLI" import "$rom" @0 - </dev/zero
    unchanged "$rom" "$dir/old.ZNDL" "$dir/other.txt" "$dir/readonly.ZNDL"

    mkfifo "$XDG_DATA_HOME/zandrel/ZNDL.ZNDL"
    run 1 "ZNDL.ZNDL\". Não é um arquivo comum" "$CLI" identify "$rom"
    run 1 "ZNDL.ZNDL\". Não é um arquivo comum" "$CLI" list "$rom"
    rm "$XDG_DATA_HOME/zandrel/ZNDL.ZNDL"
}

# Scans of the largest ROM that used to take minutes or print more than a definition file
# holds: 32 MiB of `10 00 02 00` (an LZ77 header at every word) ends in bounded time, finding
# none, and 32 MiB of random 15-bit words prints the best 32767 entries, says how many it left
# out, and the file it printed is a definition file `list` reads. The ROMs keep every byte.
item8_hostile_scans() {
    local dir=$WORK/item8
    mkdir -p "$dir"
    printf '\x10\x00\x02\x00' >"$dir/headers.gba"
    for _ in $(seq 23); do
        cat "$dir/headers.gba" "$dir/headers.gba" >"$dir/double" && mv "$dir/double" "$dir/headers.gba"
    done
    # 8 MiB of random words give some 200,000 candidates, far past what a definition file holds
    # (their cost is bench_scan's yardstick, not this case's).
    perl -e 'srand(7); print pack("v*", map { int(rand(32768)) } 1 .. 4194304)' >"$dir/words.gba"
    printf 'AQXE' | dd of="$dir/words.gba" bs=1 seek=172 conv=notrunc status=none
    keep "$dir/headers.gba" "$dir/words.gba"
    LIMIT=$SCAN_LIMIT run 1 "nenhuma paleta encontrada" "$CLI" scan "$dir/headers.gba"

    program_in "$dir/program"
    local err lines
    err=$(timeout "$SCAN_LIMIT" "$CLI" scan "$dir/words.gba" --min 0 2>&1 >"$dir/program/TORV_E.ZNDL")
    [[ "$err" == *"ficaram de fora "*" candidatas (um arquivo de definições guarda no máximo 32767 paletas"* ]] ||
        fail "no count of the entries left out: $err"
    lines=$(timeout "$LIMIT" "$dir/program/zandrel-cli" list "$dir/words.gba" | wc -l)
    [ "$lines" -eq 32767 ] || fail "list read $lines entries of the scan, not 32767"
    unchanged "$dir/headers.gba" "$dir/words.gba"
}

unhex() { python3 -c 'import sys; sys.stdout.buffer.write(bytes.fromhex(sys.argv[1]))' "$1"; }

# lz77 pack DATA STREAM | unpack FILE OFFSET | words FILE OFFSET SEED | check ...: LZ77 blocks
# made and read independently of the programs (a greedy VRAM-safe encoder, a strict decoder).
lz77() {
    python3 - "$@" <<'PY'
import random, sys

def unpack(b, at):
    n = b[at + 1] | b[at + 2] << 8 | b[at + 3] << 16
    i, out = at + 4, bytearray()
    while len(out) < n:
        flags, i = b[i], i + 1
        for k in range(8):
            if len(out) == n:
                break
            if flags & 0x80 >> k:
                length, back = (b[i] >> 4) + 3, ((b[i] & 15) << 8 | b[i + 1]) + 1
                i += 2
                assert 2 <= back <= len(out) and len(out) + length <= n, "not VRAM-safe"
                for _ in range(length):
                    out.append(out[-back])
            else:
                out.append(b[i])
                i += 1
    return bytes(out), i - at

def pack(d):
    blocks, i = [], 0
    while i < len(d):
        best, back = 0, 0
        for j in range(max(0, i - 4096), i - 1):
            length = 0
            while length < 18 and i + length < len(d) and d[j + length] == d[i + length]:
                length += 1
            if length > best:
                best, back = length, i - j
        blocks.append((best, back) if best >= 3 else d[i])
        i += best if best >= 3 else 1
    out = bytearray([0x10, len(d) & 255, len(d) >> 8 & 255, len(d) >> 16])
    for g in range(0, len(blocks), 8):
        flags = len(out)
        out.append(0)
        for k, block in enumerate(blocks[g:g + 8]):
            if isinstance(block, tuple):
                out[flags] |= 0x80 >> k
                out += bytes([(block[0] - 3) << 4 | (block[1] - 1) >> 8, (block[1] - 1) & 255])
            else:
                out.append(block)
    return bytes(out)

command, args = sys.argv[1], sys.argv[2:]
read = lambda path: open(path, "rb").read()
if command == "pack":
    open(args[1], "wb").write(pack(read(args[0])))
elif command == "unpack":
    print(unpack(read(args[0]), int(args[1], 16))[1])
elif command == "words":  # a set's operands: a palette and one to three INDEX=WORD
    data = unpack(read(args[0]), int(args[1], 16))[0]
    rng = random.Random(int(args[2]))
    palette = rng.randrange(len(data) // 32)
    operands = ["@LZ:%X+%X" % (int(args[1], 16), 32 * palette)]
    for index in rng.sample(range(16), rng.randint(1, 3)):
        at = 32 * palette + 2 * index
        word = rng.randrange(0x8000) if rng.random() < 0.7 else (data[at] | data[at + 1] << 8) & 0x7FFF
        operands.append("%d=%X" % (index, word))
    print(" ".join(operands))
elif command == "check":  # BEFORE AFTER OFFSET SET-OPERANDS...: only the named words changed
    before, after, at = read(args[0]), read(args[1]), int(args[2], 16)
    (old, room), (new, length) = unpack(before, at), unpack(after, at)
    expected = bytearray(old)
    offset = int(args[3].split("+")[1], 16)
    for operand in args[4:]:
        index, word = (int(x, 16 if k else 10) for k, x in enumerate(operand.split("=")))
        expected[offset + 2 * index:offset + 2 * index + 2] = bytes([word & 255, word >> 8])
    problems = []
    if new != bytes(expected):
        problems.append("other decompressed bytes changed")
    if length != room:
        problems.append("the stream took %d bytes of a room of %d" % (length, room))
    if before[:at] + before[at + room:] != after[:at] + after[at + room:]:
        problems.append("bytes outside the block's room changed")
    if problems:
        sys.exit("; ".join(problems))
PY
}

# A two-palette block stored as literals (76 bytes): another palette goes in and shrinks
# the stream, then the original palette goes back; both fit, and the file ends as it began.
item_lz_room() {
    local dir=$WORK/lz_room
    mkdir -p "$dir"
    head -c 256 /dev/urandom >"$dir/game.gba"
    unhex 10400000000000841CE62C483D00E0030E62B272410800C4186829EB396E4A00007C410C0535CA61000000A2086411471E000B2F40041F001F0000EE4B4410AB303351001B76E318673ED16B >"$dir/block"
    dd if="$dir/block" of="$dir/game.gba" bs=1 seek=$((0x40)) conv=notrunc status=none
    unhex 0000841CE62C483DE0030E62B2724108C4186829EB396E4A007C410C0535CA61 >"$dir/first.gbapal"
    unhex 0000A2086411471E0B2F40041F001F00EE4B4410AB3033511B76E318673ED16B >"$dir/second.gbapal"
    keep "$dir/game.gba"
    run 0 "" "$CLI" import "$dir/game.gba" @LZ:40+20 "$dir/first.gbapal"
    [ "$(lz77 unpack "$dir/game.gba" 40)" = 76 ] || fail "the block lost room"
    run 0 "" "$CLI" import "$dir/game.gba" @LZ:40+20 "$dir/second.gbapal"
    unchanged "$dir/game.gba"
}

# Some thirty random compressed `set`s on a block whose words often have bit 15 set: each
# changes exactly the words it names in the decompressed data (bit 15 as 0), the stream
# keeps its room and nothing outside it changes; or it is refused and nothing changes.
item_lz_words() {
    local dir=$WORK/lz_words seed operands
    mkdir -p "$dir"
    python3 -c 'import random, sys
r = random.Random(20)
words = [r.choice([0x7FFF, 0x801F, 0x03E0, r.randrange(0x10000)]) for _ in range(64)]
sys.stdout.buffer.write(b"".join(w.to_bytes(2, "little") for w in words))' >"$dir/data"
    lz77 pack "$dir/data" "$dir/block"
    head -c 512 /dev/urandom >"$dir/game.gba"
    dd if="$dir/block" of="$dir/game.gba" bs=1 seek=$((0x100)) conv=notrunc status=none
    for seed in $(seq 1 30); do
        cp "$dir/game.gba" "$dir/before.gba"
        read -ra operands <<<"$(lz77 words "$dir/game.gba" 100 "$seed")"
        local err status
        err=$(timeout "$LIMIT" "$CLI" set "$dir/game.gba" "${operands[@]}" 2>&1)
        status=$?
        if [ "$status" -eq 0 ]; then
            lz77 check "$dir/before.gba" "$dir/game.gba" 100 "${operands[@]}" ||
                fail "set ${operands[*]}"
        elif [ "$status" -ne 1 ] || [[ "$err" != *"espaço do bloco"* ]]; then
            fail "set ${operands[*]} exits $status: $err"
        else
            cmp -s "$dir/before.gba" "$dir/game.gba" || fail "a refused set changed the file"
        fi
    done
}

# A 1 MiB block (17 'A's and a random byte, repeated): a compressed set takes well under the
# time limit, and a writer of another palette of the file at the same time does not give up.
item_lz_large_block() {
    local dir=$WORK/lz_large
    mkdir -p "$dir"
    python3 -c 'import random, sys
r = random.Random(7)
n = 1 << 20
data = bytearray()
while len(data) < n:
    data += b"A" * 17 + bytes([r.randrange(256)])
data = data[:n]
blocks = list(data[:18])  # the first period as literals, then a copy of 17 and a literal
i = 18
while i < n:
    length = min(17, n - i)
    blocks.append((length, 18))
    i += length
    if i < n:
        blocks.append(data[i])
        i += 1
out = bytearray([0x10, 0, 0, 0x10])
for g in range(0, len(blocks), 8):
    flags = len(out)
    out.append(0)
    for k, block in enumerate(blocks[g:g + 8]):
        if isinstance(block, tuple):
            out[flags] |= 0x80 >> k
            out += bytes([(block[0] - 3) << 4, 17])
        else:
            out.append(block)
sys.stdout.buffer.write(bytes(4096) + out + bytes(4096))' >"$dir/game.gba"
    keep "$dir/game.gba"
    run 0 "" "$CLI" set "$dir/game.gba" @LZ:1000+8000 0=7FFF 1=001F &
    run 0 "" "$CLI" set "$dir/game.gba" @0 0=1234 &
    wait
    printf '\x34\x12' | dd of="$dir/game.gba.kept" conv=notrunc status=none
    lz77 check "$dir/game.gba.kept" "$dir/game.gba" 1000 @LZ:1000+8000 0=7FFF 1=001F ||
        fail "the large block"
    [ "$(od -An -tx1 -N2 "$dir/game.gba" | tr -d ' ')" = 3412 ] || fail "the other writer's word"
}

# A link to the user's picture planted where the window keeps a sample-image copy: the
# preview of an installed copy replaces the link by a copy; the picture keeps every byte.
item_cache_links() {
    local dir=$WORK/cache_links
    [ -x "$BIN/zandrel" ] || { echo "skip $CURRENT: no window built"; return; }
    mkdir -p "$dir/prefix/bin" "$dir/prefix/share/zandrel" "$dir/cache/zandrel"
    cp "$BIN/zandrel" "$dir/prefix/bin/"
    cp "$BIN/preview01.gif" "$BIN/preview02.gif" "$BIN/MEMORYDUMP.ZNDL" "$dir/prefix/share/zandrel/"
    cp "$BIN/preview01.gif" "$dir/holiday.gif"
    keep "$dir/holiday.gif"
    ln -s "$dir/holiday.gif" "$dir/cache/zandrel/preview01.gif"
    rom "$dir/game.dmp"
    local out
    out=$(XDG_CACHE_HOME=$dir/cache QT_QPA_PLATFORM=offscreen ZANDREL_PREVIEW_ROW=0 \
        ZANDREL_QUIT_AFTER_SHOW=1 timeout "$LIMIT" "$dir/prefix/bin/zandrel" "$dir/game.dmp")
    [[ "$out" == *"preview: $dir/cache/zandrel/preview01.gif"* ]] || fail "the preview: $out"
    [ -f "$dir/cache/zandrel/preview01.gif" ] && [ ! -L "$dir/cache/zandrel/preview01.gif" ] ||
        fail "the link is still there"
    unchanged "$dir/holiday.gif"
}

# apply: patches cut short, run records that would write 64 MiB and more, a BPS that
# declares a terabyte, a BPS made for another file, a pipe and a 3 GiB file as PATCH, OUT a
# link to FILE: each refused at once, FILE kept and OUT never made. find: every place of 32
# MiB of random words within 31 steps, and 32 MiB of LZ77 headers, each in bounded time.
item_patches_and_finds() {
    local dir=$WORK/patches
    mkdir -p "$dir"
    rom "$dir/game.gba"
    cp "$dir/game.gba" "$dir/edited.gba"
    printf 'ZZ' | dd of="$dir/edited.gba" bs=1 seek=600 conv=notrunc status=none
    rom "$dir/other.gba"
    run 0 "" "$CLI" patch "$dir/game.gba" "$dir/edited.gba" "$dir/good.bps"
    keep "$dir/game.gba" "$dir/other.gba"
    printf 'PATCH\x00\x01\x00\x00\x04AB' >"$dir/cut.ips"
    python3 -c 'import sys; sys.stdout.buffer.write(b"PATCH" + b"\x00\x10\x00\x00\x00\xff\xff\x41" * 1100 + b"EOF")' >"$dir/runs.ips"
    python3 - "$dir/game.gba" >"$dir/huge.bps" <<'PY'
import sys, zlib
def num(v):
    out = b""
    while True:
        out, v = out + bytes([v & 0x7F | (0x80 if v < 0x80 else 0)]), v >> 7
        if not v:
            return out
        v -= 1
source = open(sys.argv[1], "rb").read()
body = b"BPS1" + num(len(source)) + num(1 << 40) + num(0)
body += zlib.crc32(source).to_bytes(4, "little") + bytes(4)
sys.stdout.buffer.write(body + zlib.crc32(body).to_bytes(4, "little"))
PY
    mkfifo "$dir/pipe.ips"
    truncate -s 3G "$dir/huge.ips"
    ln -s "$dir/game.gba" "$dir/self.gba"
    run 1 "termina no meio de um registro" "$CLI" apply "$dir/game.gba" "$dir/cut.ips" "$dir/out.gba"
    run 1 "grava mais de 64 MiB ao todo" "$CLI" apply "$dir/game.gba" "$dir/runs.ips" "$dir/out.gba"
    run 1 "faria um arquivo de 1099511627776" "$CLI" apply "$dir/game.gba" "$dir/huge.bps" "$dir/out.gba"
    run 1 "foi feito para outro original" "$CLI" apply "$dir/other.gba" "$dir/good.bps" "$dir/out.gba"
    run 1 "Não é um arquivo comum" "$CLI" apply "$dir/game.gba" "$dir/pipe.ips" "$dir/out.gba"
    run 1 "O arquivo passa do limite" "$CLI" apply "$dir/game.gba" "$dir/huge.ips" "$dir/out.gba"
    run 1 "é o próprio arquivo" "$CLI" apply "$dir/game.gba" "$dir/good.bps" "$dir/self.gba"
    [ -e "$dir/out.gba" ] && fail "a refused apply created its output"
    unchanged "$dir/game.gba" "$dir/other.gba"

    perl -e 'srand(11); print pack("v*", map { int(rand(32768)) } 1 .. 16777216)' >"$dir/words.gba"
    local err lines
    err=$(timeout "$SCAN_LIMIT" "$CLI" find "$dir/words.gba" "$(printf '%064d' 0)" --tolerance 31 \
        2>&1 >"$dir/found")
    lines=$(wc -l <"$dir/found")
    [ "$lines" -eq 32767 ] || fail "find printed $lines lines, not 32767"
    [[ "$err" == *"ficaram de fora "*" localizações"* ]] || fail "no count of the rest: $err"
    printf '\x10\x00\x02\x00' >"$dir/headers.gba"
    for _ in $(seq 23); do
        cat "$dir/headers.gba" "$dir/headers.gba" >"$dir/double" && mv "$dir/double" "$dir/headers.gba"
    done
    LIMIT=$SCAN_LIMIT run 1 "a paleta não foi encontrada" "$CLI" find "$dir/headers.gba" "$(printf '1F%062d' 0)"
}

[ -x "$CLI" ] || {
    echo "no program at $CLI; build it first" >&2
    exit 2
}
for CURRENT in "${ITEMS[@]}"; do
    before=$(failures)
    "$CURRENT"
    [ "$(failures)" -eq "$before" ] && echo "ok   $CURRENT"
done
if [ "$(failures)" -ne 0 ]; then
    echo "$(failures) hostile case(s) failed" >&2
    exit 1
fi
echo "All hostile cases held."
