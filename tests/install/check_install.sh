#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` put in place.
# Usage: check_install.sh tree|deb BUILD_DIR WORK_DIR   (CMAKE and CPACK name the tools)
#   tree: installs into WORK_DIR/prefix: exactly the files of installed-files.txt, a desktop
#         entry, metainfo and man page that pass their checkers, programs that run.
#   deb:  builds the package into WORK_DIR: the same files under /usr with their modes, the
#         section and the dependencies.
# Exits 77 (skipped) when a tool it needs is missing; scripts/install-deps.sh installs them.
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
    for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
        grep -qxF "$package" <<<"$names" || fail "Depends lacks $package"
    done
fi
[ "$failures" -eq 0 ]
