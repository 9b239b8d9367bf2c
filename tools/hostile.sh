#!/usr/bin/env bash
# Replays a hostile user's inputs against the built zandrel-cli: named pipes and devices where
# files belong, huge sparse files, writers running at once or while another program holds the
# file. Every run must end within a few seconds with the expected exit status and message, and
# every file a run was not allowed to write must keep its bytes.
#
# Usage: tools/hostile.sh [FOLDER OF THE BUILT PROGRAMS]   (default: build/bin)
# Each fault has a function of its own (item1_..., item2_..., item3_..., ...); add new ones
# to ITEMS.
# The window cannot be driven from a script; its commands reach files through the same core
# functions as the tool's.
set -uo pipefail

BIN=$(realpath "${1:-$(dirname "$0")/../build/bin}")
CLI="$BIN/zandrel-cli"
LIMIT=6 # seconds any one run may take; the lock wait is 3
EXAMPLES=$(realpath "$(dirname "$0")/../examples")
ITEMS=(item1_export_onto_the_rom item2_strict_locations item3_import_by_content
    item4_concurrent_writers item5_fifos_and_devices item6_huge_inputs item7_new_files_and_streams
    item8_tiles_images)

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
item8_tiles_images() {
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
