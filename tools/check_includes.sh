#!/usr/bin/env bash
# The core's folders depend on each other one way: a file may include headers of its own
# folder and of folders of lower rank only, and palfiles/, special/ and patch/ never include
# each other. Lists every include that breaks this and fails; prints a one-line summary otherwise.
# Usage: tools/check_includes.sh [SRC_CORE_FOLDER]
set -euo pipefail
core=${1:-"$(dirname "$0")/../src/core"}

rank() {
    case $1 in
    util) echo 0 ;;
    platform) echo 1 ;;
    colour) echo 2 ;;
    rom) echo 3 ;;
    scan) echo 4 ;;
    palfiles | special | patch) echo 5 ;;
    app) echo 6 ;;
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
            { [ "$to" != "$from" ] && [ "$to_rank" -eq 5 ] && [ "$from_rank" -eq 5 ]; }; then
            echo "$file:$line: $from/ includes \"$header\"" >&2
            wrong=$((wrong + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
done < <(find "$core" -name '*.h' -o -name '*.cpp' | sort)

if [ "$wrong" -gt 0 ]; then
    echo "include check: $wrong of $includes includes in src/core go against the folder ranks" \
        "(util < platform < colour < rom < scan < palfiles, special, patch < app)" >&2
    exit 1
fi
echo "include check: all $includes includes in src/core go one way" \
    "(util < platform < colour < rom < scan < palfiles, special, patch < app)"
