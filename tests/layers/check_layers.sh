#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the include lines of every source file under the folder given (src/ by
# default): a file may include its own folder and the folders of the layers below
# it, never a layer above it or beside it; and no file of the matching layer names
# a colour, which only the views choose. Lists every offending line and exits 1
# when there is one.
set -euo pipefail

SRC=${1:-"$(dirname "$0")/../../src"}

# The layers from the bottom up; the window, versemark-cli and the Windows front
# end (winapp) share the top rank and may not include each other. The window
# logic (windowlogic) lies below both windows.
declare -A RANK=(
    [base]=0 [platform]=1 [tags]=2 [matching]=3 [tagging]=4 [startup]=5 [demo]=6
    [windowlogic]=7 [window]=8 [cli]=8 [winapp]=8
)

failures=0
while IFS= read -r -d '' file; do
    relative=${file#"$SRC"/}
    folder=${relative%%/*}
    if [ "$folder" = "$relative" ] || [ -z "${RANK[$folder]+set}" ]; then
        echo "$relative: not in a folder of a known layer"
        failures=$((failures + 1))
        continue
    fi
    while IFS= read -r line; do
        number=${line%%:*}
        included=$(sed -E 's/^[^"]*"([^"]*)".*/\1/' <<<"${line#*:}")
        target=${included%%/*}
        [ "$target" = "$included" ] && continue  # a file of the same folder
        if [ -z "${RANK[$target]+set}" ]; then
            echo "$relative:$number: includes \"$included\" from no known layer"
            failures=$((failures + 1))
        elif [ "$target" != "$folder" ] && ((RANK[$target] >= RANK[$folder])); then
            echo "$relative:$number: $folder includes \"$included\" from $target, not below it"
            failures=$((failures + 1))
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find "$SRC" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

# The matching pass reports facts and counts; the views make the texts and colours.
if [ -d "$SRC/matching" ]; then
    while IFS=: read -r file number _; do
        echo "${file#"$SRC"/}:$number: the matching layer names a colour"
        failures=$((failures + 1))
    done < <(grep -rn "Colour" "$SRC/matching" || true)
fi

if ((failures > 0)); then
    echo "check_layers: $failures line(s) against the layer order"
    exit 1
fi
echo "check_layers: every include goes to the same layer or one below; matching names no colour"
