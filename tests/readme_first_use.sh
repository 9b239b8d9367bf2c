#!/usr/bin/env bash
# The README's first-use block (the sh block after "<!-- first-use"), run as written in a copy
# of the programs and examples under a home of its own; then the window opens the dump and the
# scanned ROM offscreen through its hooks. Usage: BIN_FOLDER SOURCE_FOLDER WORK_FOLDER (emptied)
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
bin=$(realpath "$1") source=$(realpath "$2") work=$3
rm -rf "$work" && mkdir -p "$work/build/bin" "$work/home" && mkdir -m 700 "$work/runtime"
cp -r "$source/examples" "$work/"
cp "$bin/zandrel-cli" "$bin"/*.ZNDL "$bin"/*.gif "$work/build/bin/"
! [ -x "$bin/zandrel" ] || cp "$bin/zandrel" "$work/build/bin/"
cd "$work"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
unset XDG_DATA_HOME XDG_CACHE_HOME XDG_CONFIG_HOME
awk '/<!-- first-use/ { armed = 1 } armed && /^ *```sh/ { inside = 1; next }
     inside && /^ *```/ { exit } inside { print }' "$source/README.md" >steps.sh
[ -s steps.sh ] || fail "README.md has no first-use block"
bash -euo pipefail steps.sh
first=$(head -n 1 "$HOME/.local/share/zandrel/ZNDL.ZNDL" | cut -d, -f3-)
[ "$first" = "Paleta comprimida LZ77 6290 (pontuação 100)" ] || fail "first palette: $first"
[ -x build/bin/zandrel ] || exit 0 # built without the window
for opened in "examples/palette-ram.dmp:Fundo 00" "examples/synthetic.gba:$first"; do
    shown=$(QT_QPA_PLATFORM=offscreen ZANDREL_BENCH_OPEN=${opened%%:*} ZANDREL_PREVIEW_ROW=0 \
        ZANDREL_QUIT_AFTER_SHOW=1 build/bin/zandrel | grep -v '^preview: ')
    [ "$shown" = "row: ${opened#*:}" ] || fail "${opened%%:*}: $shown"
done
