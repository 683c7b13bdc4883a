#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The two builds must leave the same bytes:
#  - the companion's most frequent call: tag one MP3 file with one lyrics file and
#    quit (run mode 1, no message box), by the Linux versemark and by versemark.exe
#    under Wine, with the remembered choice to also write the ID3v2 lyrics frame
#    off and on (QSettings on Linux, the registry on Windows);
#  - versemark-cli tag --also-id3v2 over a copy each of the demo library.
# The versemark-cli programs are taken from beside the two versemark programs.
# Usage: compare_one_file_run.sh LINUX_VERSEMARK WINDOWS_VERSEMARK_EXE WORK_FOLDER
# (WINEPREFIX set).
set -euo pipefail
LINUX=$1
WINDOWS=$2
WORK=$3
LINUX_CLI=$(dirname "$LINUX")/versemark-cli
WINDOWS_CLI=$(dirname "$WINDOWS")/versemark-cli.exe
CHOICE_KEY='HKCU\Software\Versemark\Versemark\Tagging'

# Eight silent MPEG audio frames (MPEG-1 Layer III, 128 kbit/s, 44.1 kHz: a
# header and 413 bytes of zero side information and data) without an ID3v1
# block (so one is built from the lyrics name), and a copy that ends in an ID3v1
# block and a Lyrics3 v1 tag (converted).
audio() {
    for _ in 1 2 3 4 5 6 7 8; do
        printf '\377\373\220\144'
        head -c 413 /dev/zero
    done
}
lyrics3v1() { printf 'LYRICSBEGINold words\r\nLYRICSEND'; }
id3v1() {
    printf 'TAG%-30s%-30s%-30s%-4s%-30s\377' "Old Title" "Old Artist" "" "" ""
}
lyrics_text=$'Remember those walls I built\r\nWell, baby, they\'re tumbling down\r\nCaf\xc3\xa9 au lait\r\n'

failures=0
# The remembered choice to also write the ID3v2 lyrics frame, true or false, for
# both builds: the Linux one reads it from its own configuration folder.
remember_also_id3v2() {
    mkdir -p "$WORK/config/Versemark"
    printf '[Tagging]\nAlsoId3v2=%s\n' "$1" > "$WORK/config/Versemark/Versemark.conf"
    wine reg add "$CHOICE_KEY" /v AlsoId3v2 /t REG_DWORD /d "$([ "$1" = true ] && echo 1 || echo 0)" \
        /f >/dev/null
}

compare_case() {
    local name=$1 make=$2 lyrics_name=$3 also_id3v2=${4:-false}
    remember_also_id3v2 "$also_id3v2"
    for side in linux windows; do
        mkdir -p "$WORK/$side"
        $make > "$WORK/$side/$name.mp3"
        printf '%s' "$lyrics_text" > "$WORK/$side/$lyrics_name.txt"
    done
    local linux_log windows_log
    linux_log=$(QT_QPA_PLATFORM=offscreen VERSEMARK_LOCK_DIR="$WORK/lock" \
        XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" \
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
    if [ "$also_id3v2" = true ] && [ "$(head -c 3 "$WORK/linux/$name.mp3")" != ID3 ]; then
        echo "compare: $name: the remembered choice wrote no ID3v2 tag" >&2
        failures=$((failures + 1))
    elif cmp "$WORK/linux/$name.mp3" "$WORK/windows/$name.mp3"; then
        echo "compare: $name: the same $(stat -c %s "$WORK/linux/$name.mp3") bytes from both builds"
    else
        failures=$((failures + 1))
    fi
}

# The demo library tagged with the ID3v2 lyrics frame by both companions: the same
# log (paths aside) and the same bytes in every file.
compare_demo_tagging() {
    "$LINUX_CLI" demo "$WORK/demo" >/dev/null
    cp -a "$WORK/demo" "$WORK/demo-linux"
    cp -a "$WORK/demo" "$WORK/demo-windows"
    local linux_log windows_log windows_root
    linux_log=$(XDG_STATE_HOME="$WORK/state" "$LINUX_CLI" tag "$WORK/demo-linux/music" \
        --cache "$WORK/demo-linux/lyrics" --also-id3v2)
    windows_root=$(winepath -w "$WORK/demo-windows")
    windows_log=$(wine "$WINDOWS_CLI" tag "$windows_root\\music" --cache "$windows_root\\lyrics" \
        --also-id3v2 | tr -d '\0')
    windows_log=${windows_log//"$windows_root"/"$WORK/demo-linux"}
    windows_log=${windows_log//\\//}
    local with_frame
    with_frame=$(find "$WORK/demo-linux/music" -name '*.mp3' -exec head -c 3 {} \; -exec echo \; |
        grep -ac '^ID3$' || true)
    if [ "$linux_log" != "$windows_log" ] || [ "$with_frame" -eq 0 ]; then
        echo "compare: demo: different logs or no ID3v2 tag: '$linux_log' / '$windows_log'" >&2
        failures=$((failures + 1))
    elif diff -r "$WORK/demo-linux/music" "$WORK/demo-windows/music"; then
        echo "compare: demo tagged with --also-id3v2: the same bytes in all" \
            "$(find "$WORK/demo-linux/music" -name '*.mp3' | wc -l) files from both builds"
    else
        failures=$((failures + 1))
    fi
}

with_old_tags() { audio; lyrics3v1; id3v1; }
compare_case "Halo" audio $'Beyonc\xc3\xa9 - Halo'
compare_case "Old Tags" with_old_tags "Some Band - Old Tags"
compare_case "Halo With Frame" audio $'Beyonc\xc3\xa9 - Halo' true
compare_case "Old Tags With Frame" with_old_tags "Some Band - Old Tags" true
compare_demo_tagging
[ "$failures" -eq 0 ]
