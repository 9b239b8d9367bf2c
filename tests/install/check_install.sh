#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` put in place.
# Usage: check_install.sh tree|deb|user BUILD_DIR WORK_DIR   (CMAKE and CPACK name the tools)
#   tree: the files of installed-files.txt, passing their validators; the programs run.
#   deb:  the package's files under /usr, their modes, its section and dependencies.
#   user: as root, installs, then uses the programs as uid 65534 with a home in WORK_DIR.
# Exits 77 (skipped) when a tool it needs is missing, and in user mode when not run as root.
set -euo pipefail
mode=$1 build=$2 work=$3
expected=$(dirname "$0")/installed-files.txt
id=io.github.zandrel.Zandrel
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() {
    for tool; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}
files_under() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort); }
rm -rf "$work" && mkdir -p "$work"

if [ "$mode" = tree ]; then
    need desktop-file-validate appstreamcli groff
    prefix=$work/prefix
    "${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >"$work/install.log" ||
        { cat "$work/install.log"; exit 1; }
    diff -u "$expected" <(files_under "$prefix") || fail "installed files differ from the list"

    desktop=$prefix/share/applications/$id.desktop
    desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
    # Validates every metainfo file and finds the desktop entry each one launches.
    appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree $prefix"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "the desktop entry's icon '$icon' is not installed"
    warnings=$(groff -man -ww -z -K utf8 "$prefix/share/man/man1/zandrel-cli.1" 2>&1)
    [ -z "$warnings" ] || fail "man page: $warnings"

    usage=$("$prefix/bin/zandrel-cli" --help) || fail "installed zandrel-cli --help exits $?"
    [[ $usage == Uso:* ]] || fail "installed zandrel-cli --help printed: $usage"
    QT_QPA_PLATFORM=offscreen ZANDREL_QUIT_AFTER_SHOW=1 "$prefix/bin/zandrel" ||
        fail "installed zandrel exits $? before its window shows"
elif [ "$mode" = user ]; then
    [ "$(id -u)" -eq 0 ] || { echo "SKIP: only root can run the programs as another user"; exit 77; }
    need setpriv od cmp
    umask 022
    source_dir=$(cd "$(dirname "$0")/../.." && pwd)
    # The user must reach the prefix and the home; a build tree below a private folder
    # cannot be reached, so then both go to a fresh folder under /tmp.
    base=$work
    if ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$work"; then
        base=$(mktemp -d) && chmod 755 "$base" && trap 'rm -rf "$base"' EXIT
        echo "the user cannot reach $work; working in $base"
    fi
    prefix=$base/prefix home=$base/home
    "${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >"$work/install.log" ||
        { cat "$work/install.log"; exit 1; }
    mkdir -p "$home/runtime"
    cp "$source_dir/examples/palette-ram.dmp" "$home/"
    chown -R 65534:65534 "$home" && chmod 700 "$home/runtime"
    as_user() {
        setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH=/usr/bin:/bin \
            HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
            XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" \
            QT_QPA_PLATFORM=offscreen "$@"
    }
    dump=$home/palette-ram.dmp
    cli=$prefix/bin/zandrel-cli

    out=$(as_user "$cli" identify "$dump") || fail "zandrel-cli identify exits $?"
    [ "$out" = "MEMORY DUMP" ] || fail "zandrel-cli identify printed: $out"
    # The installed definitions, one row per entry line.
    rows=$(as_user "$cli" list "$dump" | wc -l) || fail "zandrel-cli list exits $?"
    [ "$rows" -eq "$(grep -vc '^;' "$prefix/share/zandrel/MEMORYDUMP.ZNDL")" ] ||
        fail "zandrel-cli list printed $rows rows"
    # The user's own definition file is read before the installed one.
    as_user mkdir -p "$home/data/zandrel"
    printf '16,1E0,Paleta do usu\xc3\xa1rio\r\n' | as_user tee "$home/data/zandrel/MEMORYDUMP.ZNDL" >/dev/null
    out=$(as_user "$cli" list "$dump") || fail "zandrel-cli list exits $?"
    [ "$out" = "$(printf '0\t16\t1E0\tPaleta do usu\xc3\xa1rio')" ] ||
        fail "zandrel-cli list with the user's definitions printed: $out"

    files_before=$(files_under "$home")
    # The window opens the dump named on its command line, then previews row 0.
    out=$(as_user env ZANDREL_PREVIEW_ROW=0 ZANDREL_QUIT_AFTER_SHOW=1 "$prefix/bin/zandrel" "$dump") ||
        fail "zandrel exits $?"
    expected="row: Paleta do usuário
preview: $home/cache/zandrel/preview01.gif"
    [ "$out" = "$expected" ] || fail "the window printed: $out"
    # Only the two copies in the user's cache were written; the installed images are as built.
    diff -u <(printf '%s\ncache/zandrel/preview01.gif\ncache/zandrel/preview02.gif\n' \
        "$files_before" | LC_ALL=C sort) <(files_under "$home") ||
        fail "the window wrote other files in the user's home"
    for image in preview01.gif preview02.gif; do
        cmp "$source_dir/data/$image" "$prefix/share/zandrel/$image" || fail "installed $image changed"
        copy=$home/cache/zandrel/$image
        # The palette's sixteen colours as red, green, blue bytes at 13 to 60; the rest as built.
        colours=$(as_user "$cli" show "$dump" @1E0 | awk '{ printf "%02x%02x%02x", $3, $4, $5 }')
        table=$(od -An -tx1 -j13 -N48 "$copy" | tr -d ' \n')
        [ "$table" = "$colours" ] || fail "$copy holds the colour table $table, not $colours"
        cmp <(head -c13 "$copy"; tail -c+62 "$copy") \
            <(head -c13 "$source_dir/data/$image"; tail -c+62 "$source_dir/data/$image") ||
            fail "$copy differs from $image outside its colour table"
    done
else
    need dpkg-deb dpkg-shlibdeps strip
    "${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; exit 1; }
    debs=("$work"/zandrel_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single zandrel_*.deb"; exit 1; }
    contents=$(dpkg-deb --contents "${debs[0]}")
    diff -u <(sed 's|^|./usr/|' "$expected") <(awk '$1 !~ /^d/ { print $6 }' <<<"$contents" |
        LC_ALL=C sort) || fail "packaged files differ from the list"
    wrong_modes=$(awk '$1 !~ /^d/ {
        want = $6 ~ /^\.\/usr\/bin\// ? "-rwxr-xr-x" : "-rw-r--r--"
        if ($1 != want || $2 != "root/root") print $6, $1, $2 }' <<<"$contents")
    [ -z "$wrong_modes" ] || fail "modes or owners: $wrong_modes"

    section=$(dpkg-deb --field "${debs[0]}" Section)
    [ "$section" = graphics ] || fail "section is '$section'"
    depends=$(dpkg-deb --field "${debs[0]}" Depends)
    echo "Depends: $depends"
    names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
    for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n libpng16-16; do
        grep -qxF "$package" <<<"$names" || fail "Depends lacks $package"
    done
fi
[ "$failures" -eq 0 ]
