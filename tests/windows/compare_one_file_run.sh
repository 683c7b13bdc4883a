#!/usr/bin/env bash
# The companion's most frequent call, made to both builds: tag one MP3 file with
# one lyrics file and quit (run mode 1, no message box). The Linux versemark and
# versemark.exe under Wine must leave the same bytes.
# Usage: compare_one_file_run.sh LINUX_VERSEMARK WINDOWS_VERSEMARK_EXE WORK_FOLDER
# (WINEPREFIX set).
set -euo pipefail
LINUX=$1
WINDOWS=$2
WORK=$3

# MP3-like audio without an ID3v1 block (so one is built from the lyrics name),
# and a copy that ends in an ID3v1 block and a Lyrics3 v1 tag (converted).
audio() { head -c 3000 /dev/zero | tr '\0' '\377'; }
lyrics3v1() { printf 'LYRICSBEGINold words\r\nLYRICSEND'; }
id3v1() {
    printf 'TAG%-30s%-30s%-30s%-4s%-30s\377' "Old Title" "Old Artist" "" "" ""
}
lyrics_text=$'Remember those walls I built\r\nWell, baby, they\'re tumbling down\r\nCaf\xc3\xa9 au lait\r\n'

failures=0
compare_case() {
    local name=$1 make=$2 lyrics_name=$3
    for side in linux windows; do
        mkdir -p "$WORK/$side"
        $make > "$WORK/$side/$name.mp3"
        printf '%s' "$lyrics_text" > "$WORK/$side/$lyrics_name.txt"
    done
    local linux_log windows_log
    linux_log=$(QT_QPA_PLATFORM=offscreen VERSEMARK_LOCK_DIR="$WORK/lock" \
        "$LINUX" "--/w8d--/mp3 $WORK/linux/$name.mp3--/lyr $WORK/linux/$lyrics_name.txt--/nms")
    local mp3 lyr words
    mp3=$(winepath -w "$WORK/windows/$name.mp3")
    lyr=$(winepath -w "$WORK/windows/$lyrics_name.txt")
    # As the companion writes it: one text, no quotes.
    read -ra words <<< "--/w8d--/mp3 $mp3--/lyr $lyr--/nms"
    windows_log=$(wine "$WINDOWS" "${words[@]}" | tr -d '\0')
    if [ "$linux_log" != $'File tagged..: '"$WORK/linux/$name.mp3"$'\r' ] ||
        [ "$windows_log" != $'File tagged..: '"$mp3"$'\r' ]; then
        echo "compare: $name: unexpected logs: '$linux_log' / '$windows_log'" >&2
        failures=$((failures + 1))
        return
    fi
    if cmp "$WORK/linux/$name.mp3" "$WORK/windows/$name.mp3"; then
        echo "compare: $name: the same $(stat -c %s "$WORK/linux/$name.mp3") bytes from both builds"
    else
        failures=$((failures + 1))
    fi
}

with_old_tags() { audio; lyrics3v1; id3v1; }
compare_case "Halo" audio $'Beyonc\xc3\xa9 - Halo'
compare_case "Old Tags" with_old_tags "Some Band - Old Tags"
[ "$failures" -eq 0 ]
