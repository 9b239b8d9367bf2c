#!/usr/bin/env bash
# Runs the README's first-use steps as a new user would: the code blocks marked
# "<!-- first-use" in README.md, as written, in a copy of the built programs and the examples
# under a home of its own; then opens the example dump and the scanned ROM in the window,
# offscreen, through its hooks. So the README cannot drift from the programs.
# Usage: tests/readme_first_use.sh BIN_FOLDER SOURCE_FOLDER WORK_FOLDER (emptied first)
set -euo pipefail
bin=$(realpath "$1")
source=$(realpath "$2")
work=$3
rm -rf "$work"
mkdir -p "$work/build/bin" "$work/home"
mkdir -m 700 "$work/runtime"
cp -r "$source/examples" "$work/"
cp "$bin/zandrel-cli" "$bin"/*.ZNDL "$bin"/*.gif "$work/build/bin/"
if [ -x "$bin/zandrel" ]; then cp "$bin/zandrel" "$work/build/bin/"; fi
cd "$work"
export HOME=$work/home
export XDG_RUNTIME_DIR=$work/runtime
unset XDG_DATA_HOME XDG_CACHE_HOME XDG_CONFIG_HOME

awk '/<!-- first-use/ { armed = 1; next }
     armed && /^ *```sh/ { inside = 1; next }
     inside && /^ *```/ { inside = 0; armed = 0; next }
     inside { print }' "$source/README.md" >steps.sh
[ -s steps.sh ] || { echo "README.md has no first-use block" >&2; exit 1; }
bash -euo pipefail steps.sh

fail() { echo "FAIL: $*" >&2; exit 1; }
definitions=$HOME/.local/share/zandrel/ZNDL.ZNDL
[ -s "$definitions" ] || fail "no $definitions"
first=$(head -n 1 "$definitions" | cut -d, -f3-)
[ "$first" = "Paleta comprimida LZ77 6290 (pontuação 100)" ] || fail "first palette: $first"
[ -x build/bin/zandrel ] || { echo "no window built: its steps are not run"; exit 0; }
window() {
    QT_QPA_PLATFORM=offscreen ZANDREL_BENCH_OPEN=$1 ZANDREL_PREVIEW_ROW=0 \
        ZANDREL_QUIT_AFTER_SHOW=1 build/bin/zandrel | grep -v '^preview: '
}
[ "$(window examples/palette-ram.dmp)" = "row: Fundo 00" ] || fail "dump: $(window examples/palette-ram.dmp)"
[ "$(window examples/synthetic.gba)" = "row: $first" ] || fail "ROM: $(window examples/synthetic.gba)"
echo "The README's first-use steps work."
