#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Versemark and shows its main job on a demo library: MP3 files of silent
# audio, a lyrics cache in the companion's forms, and a stand-in companion whose
# settings and registry entry point at that cache.
#
# With a display (DISPLAY or WAYLAND_DISPLAY) it opens the window the way the
# companion starts it, scanning the demo music, and waits until it is closed.
# Without one it matches and tags a fresh copy of the demo library in the terminal
# with versemark-cli, so it can run again and again, and prints the command that
# opens the window.
#
# Environment:
#   VERSEMARK_BUILD_DIR  use the versemark and versemark-cli already built there;
#                        nothing is installed or built (default: build into build/)
#   VERSEMARK_DEMO_DIR   where the demo library lives (default: <build folder>/demo);
#                        written once, when it is not there yet
#   TMPDIR               where the fresh copies of the terminal run go (default /tmp)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${VERSEMARK_BUILD_DIR:-build}
if [ -z "${VERSEMARK_BUILD_DIR:-}" ]; then
    bash scripts/build-programs.sh "$BUILD"
fi
BUILD=$(cd "$BUILD" && pwd)
VERSEMARK=$BUILD/versemark
CLI=$BUILD/versemark-cli
for program in "$VERSEMARK" "$CLI"; do
    if [ ! -x "$program" ]; then
        echo "demo: $program is missing; build it first (or leave VERSEMARK_BUILD_DIR unset)." >&2
        exit 1
    fi
done

DEMO=${VERSEMARK_DEMO_DIR:-$BUILD/demo}
mkdir -p "$DEMO"
DEMO=$(cd "$DEMO" && pwd)
# The library is whole when its last piece, the registry file, is there.
if [ ! -f "$DEMO/wine/system.reg" ]; then
    if [ -e "$DEMO/music" ] || [ -e "$DEMO/lyrics" ] || [ -e "$DEMO/songleaf" ] ||
        [ -e "$DEMO/wine" ]; then
        echo "demo: $DEMO holds an unfinished demo library; remove it and run again." >&2
        exit 1
    fi
    "$CLI" demo "$DEMO" >/dev/null
    echo "Demo library written to $DEMO"
fi

# The window as the companion starts it: run mode 2 ("5nf") on the demo music,
# subfolders included. WINEPREFIX names the demo's registry, which leads to the
# demo companion folder and its settings, which name the demo lyrics cache: the
# user's own configuration is not touched.
WINE_PREFIX=$DEMO/wine
WINDOW_ARGUMENTS=("$VERSEMARK" "--/5nf" "--/fol $DEMO/music" "--/sub")

# One word for the shell: bare when it holds only safe characters, else in single
# quotes.
shell_word() {
    if [[ $1 =~ ^[A-Za-z0-9_./=:+-]+$ ]]; then
        printf '%s' "$1"
    else
        printf "'%s'" "${1//\'/\'\\\'\'}"
    fi
}

# The window command as one line to copy.
window_command_line() {
    local line word
    line="WINEPREFIX=$(shell_word "$WINE_PREFIX")"
    for word in "${WINDOW_ARGUMENTS[@]}"; do
        line+=" $(shell_word "$word")"
    done
    printf '%s\n' "$line"
}

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo
    echo "Opening the Versemark window on $DEMO/music"
    echo "(tagging there changes the demo files; remove $DEMO to start afresh)."
    echo "Close the window to end the demo."
    status=0
    WINEPREFIX=$WINE_PREFIX "${WINDOW_ARGUMENTS[@]}" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "demo: versemark ended with status $status. If it could not open the display," >&2
        echo "run the demo with DISPLAY and WAYLAND_DISPLAY unset to see it in the terminal." >&2
    fi
    exit "$status"
fi

# No display: the same scan and tagging pass in the terminal, on a fresh copy.
COPY=$(mktemp -d "${TMPDIR:-/tmp}/versemark-demo.XXXXXX")
cp -R "$DEMO/music" "$DEMO/lyrics" "$COPY/"

echo
echo "No display: matching and tagging a fresh copy of the demo library instead."
echo "Tagged copy: $COPY"
echo
echo "== versemark-cli scan: the rows the window would list =="
"$CLI" scan "$COPY/music" --cache "$COPY/lyrics"
echo
echo "== versemark-cli tag: the tagging log =="
# The log's lines end in CR LF, as the window shows them.
set +e
LOG=$("$CLI" tag "$COPY/music" --cache "$COPY/lyrics")
STATUS=$?
set -e
printf '%s\n' "$LOG" | tr -d '\r'
echo
echo "Lyrics saved into the first tagged file:"
FIRST=$(printf '%s\n' "$LOG" | tr -d '\r' | sed -n 's/^File tagged\.\.: //p' | head -n 1)
if [ -n "$FIRST" ]; then
    "$CLI" show "$FIRST" | tr -d '\r' | sed 's/^/    /'
    echo
    echo "The end of that file: the Lyrics3 tag's size and trailer, then the ID3v1 block."
    tail -c 160 "$FIRST" | tr '\0\r\n' '...' | tr -c '[:print:]' '?' | fold -w 80
    echo
fi
echo
echo "To open the window on the demo library, on a machine with a display:"
echo "  $(window_command_line)"
exit "$STATUS"
