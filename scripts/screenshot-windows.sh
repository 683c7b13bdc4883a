#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot-windows.png: versemark.exe's window under Wine as the
# companion opens it (run mode 2, subfolders on) on a fresh demo library, in a
# fresh Wine prefix on a virtual screen, after the scan has ended.
#
# Environment:
#   VERSEMARK_WINDOWS_BUILD_DIR  the Windows programs (default: build-windows/build,
#                                made by scripts/build-windows.sh)
#   VERSEMARK_SCREENSHOT_FILE    where the picture goes (default: docs/screenshot-windows.png)
#   VERSEMARK_SCREENSHOT_DPI     the screen's dpi (default: 96); the virtual screen
#                                grows with it
set -euo pipefail
cd "$(dirname "$0")/.."

DPI=${VERSEMARK_SCREENSHOT_DPI:-96}
SCREEN="-screen 0 $((1280 * DPI / 96))x$((860 * DPI / 96))x24"
SETTLE_TIMEOUT=60  # seconds until two captures in a row must agree
SETTLE_STEP=1      # seconds between two captures of the screen

# Second stage, run by xvfb-run below: start the window, wait until the screen
# stops changing, cut the window (everything not black) out of the screen.
if [ "${1:-}" = "--on-virtual-screen" ]; then
    versemark=$2 music=$3 output=$4 scratch=$5
    # As the companion writes it: one text, no quotes.
    read -ra words <<< "--/5nf--/fol $music--/sub"
    wine "$versemark" "${words[@]}" &
    import -window root "$scratch/previous.png"
    deadline=$((SECONDS + SETTLE_TIMEOUT))
    while :; do
        sleep "$SETTLE_STEP"
        import -window root "$scratch/current.png"
        changed=$(compare -metric AE "$scratch/previous.png" "$scratch/current.png" null: 2>&1 || true)
        area=$(convert "$scratch/current.png" -bordercolor black -border 1 -format '%@' info:)
        if [ "$changed" = "0" ] && [[ $area != 0x0+* ]]; then
            break
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "screenshot-windows: no settled window after ${SETTLE_TIMEOUT}s." >&2
            exit 1
        fi
        mv "$scratch/current.png" "$scratch/previous.png"
    done
    wineserver -k
    [[ $area =~ ^([0-9]+x[0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
    crop="${BASH_REMATCH[1]}+$((BASH_REMATCH[2] - 1))+$((BASH_REMATCH[3] - 1))"
    # Few colours: a small file that draws the same.
    convert "$scratch/current.png" -crop "$crop" +repage -strip -colors 128 "PNG8:$output"
    exit 0
fi

BUILD=$(cd "${VERSEMARK_WINDOWS_BUILD_DIR:-build-windows/build}" && pwd)
OUTPUT=${VERSEMARK_SCREENSHOT_FILE:-docs/screenshot-windows.png}
mkdir -p "$(dirname "$OUTPUT")"
OUTPUT=$(cd "$(dirname "$OUTPUT")" && pwd)/$(basename "$OUTPUT")

# A fresh prefix, its server and the demo library removed at the end. The
# folder button shows the scanned folder: a short path keeps it readable.
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/versemark-screenshot.XXXXXX")
export WINEPREFIX=$SCRATCH/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$SCRATCH"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
wine "$BUILD/versemark-cli.exe" demo 'C:\demo' >/dev/null
wine reg add 'HKLM\Software\Kestrel Works\Songleaf' /v InstallDir /d 'C:\demo\songleaf' /f >/dev/null 2>&1
# Wine reads the dpi from the user's desktop settings when a program starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
wineserver -w

env -u WAYLAND_DISPLAY xvfb-run -a -s "$SCREEN" \
    bash "$0" --on-virtual-screen "$BUILD/versemark.exe" 'C:\demo\music' "$OUTPUT" "$SCRATCH"
echo "screenshot-windows: wrote $OUTPUT ($(identify -format '%wx%h' "$OUTPUT"), $(stat -c %s "$OUTPUT") bytes)"
