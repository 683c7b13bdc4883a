#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot.png: the Versemark window as the companion opens it (run
# mode 2, subfolders on) on a fresh demo library, on a virtual screen (Xvfb), after
# the scan has ended.
#
# Environment:
#   VERSEMARK_BUILD_DIR        use the programs already built there; nothing is
#                              installed or built (default: build into build/)
#   VERSEMARK_SCREENSHOT_FILE  where the picture goes (default: docs/screenshot.png)
set -euo pipefail
cd "$(dirname "$0")/.."

SCREEN="-screen 0 1280x860x24"
APPEAR_TIMEOUT=30  # seconds until the window must be on the screen
SETTLE_TIMEOUT=30  # seconds until two captures in a row must agree
SETTLE_STEP=0.5    # seconds between two captures of the screen

# Second stage, run by xvfb-run below: start the window, wait until it shows the
# finished scan, capture it. The virtual screen has no window manager, so the
# window sits undecorated on the black root window: the capture of the whole
# screen is cut down to what is not black. (Asking ImageMagick for a window by
# name is no help: before the window exists it waits for a mouse click.)
if [ "${1:-}" = "--on-virtual-screen" ]; then
    versemark=$2 demo=$3 output=$4 scratch=$5
    # Its own runtime folder: the window's lock file goes there, and Qt does not
    # complain about a missing one under xvfb-run.
    mkdir -m 700 "$scratch/runtime"
    XDG_RUNTIME_DIR=$scratch/runtime VERSEMARK_LOCK_DIR=$scratch/runtime WINEPREFIX=$demo/wine \
        "$versemark" "--/5nf" "--/fol $demo/music" "--/sub" &
    window_pid=$!
    trap 'kill "$window_pid" 2>/dev/null || true' EXIT

    capture_screen() {
        import -window root "$1"
    }
    # The size and place of what is not black on the screen, "WxH+X+Y"; a black
    # border first, so that a window in a corner is cut out too.
    drawn_area() {
        convert "$1" -bordercolor black -border 1 -format '%@' info: 2>/dev/null
    }
    window_pid_alive() {
        kill -0 "$window_pid" 2>/dev/null
    }

    # The window appears...
    deadline=$((SECONDS + APPEAR_TIMEOUT))
    while :; do
        capture_screen "$scratch/previous.png"
        area=$(drawn_area "$scratch/previous.png" || true)
        case "$area" in
            "" | 0x0+*) ;;  # nothing drawn yet
            *) break ;;
        esac
        if ! window_pid_alive; then
            echo "screenshot: versemark ended before its window appeared." >&2
            exit 1
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "screenshot: no window on the screen after ${APPEAR_TIMEOUT}s." >&2
            exit 1
        fi
        sleep "$SETTLE_STEP"
    done
    # ...and the scan has ended when nothing on the screen changes any more: the
    # window prints nothing, so its picture is what is watched.
    deadline=$((SECONDS + SETTLE_TIMEOUT))
    while :; do
        sleep "$SETTLE_STEP"
        capture_screen "$scratch/current.png"
        changed=$(compare -metric AE "$scratch/previous.png" "$scratch/current.png" null: 2>&1 || true)
        if [ "$changed" = "0" ]; then
            break
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "screenshot: the window kept changing for ${SETTLE_TIMEOUT}s." >&2
            exit 1
        fi
        mv "$scratch/current.png" "$scratch/previous.png"
    done
    if ! window_pid_alive; then
        echo "screenshot: versemark ended before the picture was taken." >&2
        exit 1
    fi
    # The border added for the cut shifts the place by one pixel.
    area=$(drawn_area "$scratch/current.png")
    if ! [[ $area =~ ^([0-9]+x[0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then
        echo "screenshot: cannot find the window on the screen ($area)." >&2
        exit 1
    fi
    size=${BASH_REMATCH[1]}
    left=$((BASH_REMATCH[2] - 1))
    top=$((BASH_REMATCH[3] - 1))
    convert "$scratch/current.png" -crop "${size}+${left}+${top}" +repage -strip "$output"
    exit 0
fi

BUILD=${VERSEMARK_BUILD_DIR:-build}
if [ -z "${VERSEMARK_BUILD_DIR:-}" ]; then
    bash scripts/build-programs.sh "$BUILD"
fi
BUILD=$(cd "$BUILD" && pwd)
OUTPUT=${VERSEMARK_SCREENSHOT_FILE:-docs/screenshot.png}
mkdir -p "$(dirname "$OUTPUT")"
OUTPUT=$(cd "$(dirname "$OUTPUT")" && pwd)/$(basename "$OUTPUT")

# The folder button shows the scanned folder: a short fixed path keeps its
# caption readable and the picture the same from one run to the next.
DEMO=/tmp/versemark-demo
if ! mkdir "$DEMO" 2>/dev/null; then
    echo "screenshot: $DEMO exists already; remove it (or wait for the other run)." >&2
    exit 1
fi
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/versemark-screenshot.XXXXXX")
trap 'rm -rf "$SCRATCH" "$DEMO"' EXIT
"$BUILD/versemark-cli" demo "$DEMO" >/dev/null

# The virtual screen's display replaces any the caller has.
env -u WAYLAND_DISPLAY xvfb-run -a -s "$SCREEN" \
    bash "$0" --on-virtual-screen "$BUILD/versemark" "$DEMO" "$OUTPUT" "$SCRATCH"
echo "screenshot: wrote $OUTPUT ($(identify -format '%wx%h' "$OUTPUT"))"
