#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's tagging under Wine against the Linux build: the demo files that
# versemark_winapp_tests.exe tagged through the window, and the same demo files
# tagged by the Linux versemark with the same lyrics files (one-file run), must
# leave the same bytes.
# Usage: compare_window_tagging.sh LINUX_BUILD_FOLDER WINDOW_TAGGED_FOLDER WORK_FOLDER
set -euo pipefail
LINUX_BUILD=$1
TAGGED=$2
WORK=$3

"$LINUX_BUILD/versemark-cli" demo "$WORK/demo" >/dev/null
failures=0
compared=0
for tagged in "$TAGGED"/*.mp3; do
    [ -e "$tagged" ] || continue
    name=$(basename "$tagged" .mp3)
    mp3="$WORK/demo/music/$name.mp3"
    log=$(QT_QPA_PLATFORM=offscreen VERSEMARK_LOCK_DIR="$WORK/lock" \
        XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" \
        "$LINUX_BUILD/versemark" "--/w8d--/mp3 $mp3--/lyr $WORK/demo/lyrics/$name.txt--/nms")
    if [ "$log" != $'File tagged..: '"$mp3"$'\r' ]; then
        echo "compare: window: $name: unexpected Linux log '$log'" >&2
        failures=$((failures + 1))
    elif cmp "$mp3" "$tagged"; then
        echo "compare: window: $name.mp3: the same $(stat -c %s "$mp3") bytes from both builds"
        compared=$((compared + 1))
    else
        failures=$((failures + 1))
    fi
done
if [ "$compared" -lt 2 ]; then
    echo "compare: window: only $compared tagged files to compare" >&2
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
