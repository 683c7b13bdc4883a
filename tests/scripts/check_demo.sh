#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs scripts/demo.sh as a user without a display would, on the programs already
# built, twice, and checks that each run tags a fresh copy of the demo library:
# exit 0, "File tagged..: " log lines, tagged files that end with a Lyrics3 v2.00
# tag and an ID3v1 block, the demo library itself untouched, and a window command
# line that the shell reads back into the right words.
#   check_demo.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$(cd "$2" && pwd)

# Tail layout: ... "LYRICSBEGIN" fields size(6 digits) "LYRICS200" | ID3v1 (128, "TAG"...)
ID3V1_SIZE=128
TRAILER=LYRICS200
TRAILER_SIZE=9
SIZE_DIGITS=6
LYRICS_BEGIN=LYRICSBEGIN
LOG_TAGGED="File tagged..: "
LOG_ERROR="Error tagging: "

# A blank in the scratch path: every path the script handles must survive quoting.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/versemark demo check.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# The tagging journal stays in the scratch folder, out of the user's state folder.
export XDG_STATE_HOME="$scratch/state"
demo=$scratch/demo
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Bytes [offset, offset + count) of a file, as text.
bytes_at() {
    tail -c "+$(($2 + 1))" "$1" | head -c "$3"
}

check_tagged_file() {
    local file=$1 size trailer_at tag_size begin_at
    size=$(stat -c %s "$file")
    trailer_at=$((size - ID3V1_SIZE - TRAILER_SIZE))
    if [ "$trailer_at" -lt "$SIZE_DIGITS" ]; then
        fail "too short to be tagged: $file"
        return
    fi
    [ "$(bytes_at "$file" "$trailer_at" "$TRAILER_SIZE")" = "$TRAILER" ] ||
        fail "no $TRAILER in front of the last $ID3V1_SIZE bytes: $file"
    [ "$(bytes_at "$file" $((size - ID3V1_SIZE)) 3)" = "TAG" ] ||
        fail "the last $ID3V1_SIZE bytes do not begin with TAG: $file"
    # The size digits lead back to the tag's beginning.
    tag_size=$(bytes_at "$file" $((trailer_at - SIZE_DIGITS)) "$SIZE_DIGITS")
    if [[ $tag_size =~ ^[0-9]{6}$ ]]; then
        begin_at=$((trailer_at - SIZE_DIGITS - 10#$tag_size))
        if [ "$begin_at" -lt 0 ] ||
            [ "$(bytes_at "$file" "$begin_at" ${#LYRICS_BEGIN})" != "$LYRICS_BEGIN" ]; then
            fail "the tag size $tag_size does not lead to $LYRICS_BEGIN: $file"
        fi
    else
        fail "no six size digits in front of $TRAILER: $file"
    fi
}

# One run of the README's first command without a display; sets `tagged` to the
# number of files it tagged.
tagged=0
run_demo() {
    local run=$1 out=$scratch/run$1.txt tmp=$scratch/tmp$1 status=0
    tagged=0
    mkdir -p "$tmp"
    env -u DISPLAY -u WAYLAND_DISPLAY TMPDIR="$tmp" VERSEMARK_BUILD_DIR="$build_dir" \
        VERSEMARK_DEMO_DIR="$demo" bash "$source_dir/scripts/demo.sh" >"$out" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        fail "run $run: demo.sh ended with $status"
        sed 's/^/    /' "$out" >&2
        return
    fi

    local copies=("$tmp"/versemark-demo.*)
    if [ ${#copies[@]} -ne 1 ] || [ ! -d "${copies[0]}" ]; then
        fail "run $run: expected one fresh copy in $tmp, found: ${copies[*]}"
        return
    fi
    local copy=${copies[0]}
    grep -qxF "Tagged copy: $copy" "$out" || fail "run $run: the copy's path is not printed"

    local line path relative
    while IFS= read -r line; do
        path=${line#"$LOG_TAGGED"}
        tagged=$((tagged + 1))
        case "$path" in
            "$copy/music/"*) ;;
            *)
                fail "run $run: tagged a file outside the fresh copy: $path"
                continue
                ;;
        esac
        if [ ! -f "$path" ]; then
            fail "run $run: the log names a file that is not there: $path"
            continue
        fi
        check_tagged_file "$path"
        relative=${path#"$copy/music/"}
        if cmp -s "$path" "$demo/music/$relative"; then
            fail "run $run: the tagged copy equals the demo library's file: $relative"
        fi
    done < <(grep -F "$LOG_TAGGED" "$out")
    [ "$tagged" -gt 0 ] || fail "run $run: no \"$LOG_TAGGED\" line"
    if grep -qF "$LOG_ERROR" "$out"; then
        fail "run $run: the log has an error line"
    fi
    grep -qxF "Checked: $tagged" "$out" || fail "run $run: the scan did not check the $tagged tagged rows"
    grep -q '^Matches: ' "$out" || fail "run $run: no matches summary"

    # The window command, read back by the shell.
    local command_line
    command_line=$(grep -A1 -F "To open the window" "$out" | tail -n 1)
    local words=()
    eval "words=($command_line)"
    local expected=("WINEPREFIX=$demo/wine" "$build_dir/versemark" "--/5nf" "--/fol $demo/music"
        "--/sub")
    if [ ${#words[@]} -ne ${#expected[@]} ] || [ "${words[*]}" != "${expected[*]}" ]; then
        fail "run $run: window command reads as $(printf '[%s]' "${words[@]}"), not $(printf '[%s]' "${expected[@]}")"
    fi
}

run_demo 1
first=$tagged
echo "first run tagged $first files"
# The demo library is written once and kept; the second run tags a new copy.
[ -f "$demo/wine/system.reg" ] || fail "the demo library was not written to $demo"
run_demo 2
echo "second run tagged $tagged files"
if [ "$first" -eq 0 ] || [ "$first" -ne "$tagged" ]; then
    fail "the two runs tagged different numbers of files ($first, $tagged)"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "demo script checks passed"
