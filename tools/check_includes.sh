#!/usr/bin/env bash
# The core's folders depend on each other one way: a file may include headers of its own
# folder and of folders of lower rank only, and palfiles/, special/, patch/ and gfx/ never
# include each other; only png/ includes libpng's headers. Lists every include that breaks this and fails; prints a one-line summary otherwise.
# Usage: tools/check_includes.sh [SRC_CORE_FOLDER]
set -euo pipefail
core=${1:-"$(dirname "$0")/../src/core"}
siblings=6 # the rank of the folders side by side

rank() {
    case $1 in
    util) echo 0 ;;
    platform) echo 1 ;;
    png) echo 2 ;;
    colour) echo 3 ;;
    rom) echo 4 ;;
    scan) echo 5 ;;
    palfiles | special | patch | gfx) echo "$siblings" ;;
    app) echo 7 ;;
    *) echo unknown ;;
    esac
}

includes=0
wrong=0
while IFS= read -r file; do
    from=${file#"$core"/}
    from=${from%%/*}
    from_rank=$(rank "$from")
    if [ "$from_rank" = unknown ]; then
        echo "$file: folder $from has no rank" >&2
        wrong=$((wrong + 1))
        continue
    fi
    while IFS=: read -r line header; do
        includes=$((includes + 1))
        case $header in
        */*) to=${header%%/*} ;;
        *) to=$from ;; # a header of the same folder
        esac
        to_rank=$(rank "$to")
        if [ "$to_rank" = unknown ] || [ "$to_rank" -gt "$from_rank" ] ||
            { [ "$to" != "$from" ] && [ "$to_rank" -eq "$siblings" ] && [ "$from_rank" -eq "$siblings" ]; }; then
            echo "$file:$line: $from/ includes \"$header\"" >&2
            wrong=$((wrong + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
done < <(find "$core" -name '*.h' -o -name '*.cpp' | sort)

# libpng belongs to png/ alone: the rest of the core is standard C++.
while IFS= read -r hit; do
    echo "$hit: only png/ includes libpng" >&2
    wrong=$((wrong + 1))
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*<png' \
    "$core" | grep -v "^$core/png/" || true)

if [ "$wrong" -gt 0 ]; then
    echo "include check: $wrong of $includes includes in src/core go against the folder ranks" \
        "(util < platform < png < colour < rom < scan < palfiles, special, patch, gfx < app)" >&2
    exit 1
fi
echo "include check: all $includes includes in src/core go one way" \
    "(util < platform < png < colour < rom < scan < palfiles, special, patch, gfx < app)"
