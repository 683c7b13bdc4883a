#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Versemark for 64-bit Windows with mingw-w64 (versemark.exe,
# versemark-cli.exe, the tests and an NSIS installer; TagLib for the ID3v2 lyrics
# frame from Debian's source, built once) and checks it under Wine in a fresh
# prefix:
#   1. the core, platform, tagging, start-up, command-line and window-logic tests, with
#      registry values written by "wine reg add" in both views;
#   2. the window's tests on a virtual screen: versemark.exe's window opened on
#      the demo library as the companion starts it, checked through its controls;
#      its places and captions checked again at 144 dpi;
#   3. the installer, run silently for the current user and for all users, with
#      its uninstaller, then through its pages and its uninstaller's question on
#      a virtual screen (tests/windows/check_installer.sh);
#   4. one-file runs of versemark.exe and versemark-cli.exe tag --also-id3v2 over
#      the demo library, and the two files the window test tagged, compared byte
#      for byte with the Linux build's (when a Linux build folder is given).
# Usage: scripts/build-windows.sh [LINUX_BUILD_FOLDER]
set -Eeuo pipefail
# A failing command names itself and its line (functions and subshells included).
trap 'echo "build-windows: line $LINENO failed: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
ROOT=$PWD
LINUX_BUILD=${1:-}
started=$(date +%s)

bash scripts/setup.sh g++-mingw-w64-x86-64-posix wine wine64 nsis googletest dpkg-dev xvfb

OUT=$ROOT/build-windows
BUILD=$OUT/build
GTEST=$OUT/gtest
JOBS=-j2
VERSION=$(sed -n 's/^project(Versemark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# GoogleTest for Windows, from the sources Debian installs; built once.
if [ ! -f "$GTEST/lib/libgtest.a" ]; then
    cmake -S /usr/src/googletest -B "$OUT/gtest-build" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$GTEST" >/dev/null
    cmake --build "$OUT/gtest-build" "$JOBS" >/dev/null
    cmake --install "$OUT/gtest-build" >/dev/null
fi

# TagLib for Windows, from Debian's source of the TagLib the Linux build uses;
# built once, for the ID3v2 lyrics frame.
TAGLIB=$OUT/taglib
bash scripts/build-taglib-mingw.sh "$TAGLIB" "$OUT/taglib-work"

# One build with debug information: each program's is split off into
# <program>.exe.debug beside it after linking, and the programs themselves are
# stripped (cmake/WindowsResources.cmake).
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_PREFIX_PATH="$GTEST;$TAGLIB" -DVERSEMARK_ID3V2=ON \
    -DVERSEMARK_WINDOW=OFF -DVERSEMARK_BENCH=OFF -DVERSEMARK_TESTS=ON >/dev/null
cmake --build "$BUILD" "$JOBS"

# The installer, with the icon the build drew and the licence with Windows line ends.
INSTALLER=$OUT/versemark-$VERSION-setup.exe
sed 's/\r*$/\r/' LICENSE >"$BUILD/windows/LICENSE.txt"
makensis -V2 -DVERSION="$VERSION" -DPROGRAMS="$BUILD" -DICON="$BUILD/windows/versemark.ico" \
    -DLICENSE="$BUILD/windows/LICENSE.txt" -DOUTFILE="$INSTALLER" data/windows/versemark.nsi
built=$(date +%s)

# A fresh prefix of our own, removed at the end with its server.
WORK=$(mktemp -d /tmp/versemark-wine.XXXXXX)
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
# When Wine itself fails to start (it does at times on a loaded machine), the
# prefix is made afresh once more; a second failure ends the step.
if ! wineboot -i >/dev/null 2>&1; then
    echo "build-windows: Wine failed to start (wineboot -i); making the prefix once more." >&2
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
fi
wineserver -w

# The companion as a 32-bit program records itself (in the 32-bit view); a
# 64-bit one would write the plain key; and a key only the 64-bit view has.
COMPANION_KEY='HKLM\Software\Kestrel Works\Songleaf'
wine reg add "$COMPANION_KEY" /v InstallDir /d 'C:\Program Files (x86)\Songleaf' /f /reg:32 >/dev/null
wine reg add "$COMPANION_KEY" /v InstallDir /d 'C:\Songleaf64' /f /reg:64 >/dev/null
wine reg add 'HKLM\Software\Versemark Test\Only64' /v Path /d 'C:\Only64' /f /reg:64 >/dev/null

# 1. The tests. Those that only make sense on Linux are listed, with the reason,
#    in tests/windows/linux-only.txt.
skipped=$(grep -v '^#' tests/windows/linux-only.txt | awk 'NF {print $1}' | paste -sd: -)
export VERSEMARK_BUILD_DIR VERSEMARK_REGISTRY_WRITTEN=1 VERSEMARK_FIELD_SAMPLES
VERSEMARK_BUILD_DIR=$(winepath -w "$BUILD")
# A song of each other format, made here by ffmpeg and mutagen, for the
# tagging tests to write, read back and undo.
mkdir -p "$WORK/field-samples"
/usr/bin/python3 tests/tagging/field_files.py make "$WORK/field-samples" >/dev/null
VERSEMARK_FIELD_SAMPLES=$(winepath -w "$WORK/field-samples")
# Runs one test program. When the Wine server itself drops out under it (its
# client says so and the program never reached its summary), that is Wine
# failing, not a test: the program runs once more, and that run counts.
run_tests_under_wine() {
    local output status=0
    output=$(wine "$1" --gtest_brief=1 --gtest_filter="-$skipped" 2>&1 | tr -d '\r') || status=$?
    if [ "$status" -ne 0 ] && grep -q '^wine client error' <<<"$output" &&
        ! grep -q '^\[==========\]' <<<"$output"; then
        printf '%s\n' "$output"
        echo "build-windows: the Wine server dropped out; $(basename "$1") runs once more."
        status=0
        output=$(wine "$1" --gtest_brief=1 --gtest_filter="-$skipped" 2>&1 | tr -d '\r') || status=$?
    fi
    printf '%s\n' "$output"
    return "$status"
}
failed=0
for program in platform tags matching tagging startup cli windowlogic; do
    echo "== versemark_${program}_tests.exe under Wine"
    run_tests_under_wine "$BUILD/versemark_${program}_tests.exe" || failed=1
done
[ "$failed" -eq 0 ] || { echo "build-windows: tests failed under Wine." >&2; exit 1; }

# 2. The window on a virtual screen of its own. The server of the steps above
#    knew no screen: it is let go first, and nothing may start another before
#    the window does.
mkdir -p "$WORK/window-tagged"
tagged_out=$(winepath -w "$WORK/window-tagged")
wineserver -w
echo "== versemark_winapp_tests.exe under Wine"
VERSEMARK_WINDOW_TAGGED_OUT=$tagged_out xvfb-run -a -s "-screen 0 1280x800x24" \
    sh -c 'wine "$1" --gtest_brief=1; status=$?; wineserver -w; exit $status' sh \
    "$BUILD/versemark_winapp_tests.exe" 2>&1 | tr -d '\r' ||
    { echo "build-windows: the window's tests failed under Wine." >&2; exit 1; }

# 2b. The window's places, captions and pictures, and its layout, again at 144
#     dpi, on a screen its larger window fits. Wine takes the dpi from the user's
#     desktop settings when a program starts.
DESKTOP_KEY='HKCU\Control Panel\Desktop'
wine reg add "$DESKTOP_KEY" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
wineserver -w
echo "== versemark_winapp_tests.exe under Wine at 144 dpi"
VERSEMARK_WINDOW_DPI=144 xvfb-run -a -s "-screen 0 1920x1200x24" \
    sh -c 'wine "$1" --gtest_brief=1 --gtest_filter="$2"; status=$?; wineserver -w; exit $status' sh \
    "$BUILD/versemark_winapp_tests.exe" '*AtTheScreensDpi*:*AWiderWindow*' 2>&1 | tr -d '\r' ||
    { echo "build-windows: the window's tests failed under Wine at 144 dpi." >&2; exit 1; }
wine reg delete "$DESKTOP_KEY" /v LogPixels /f >/dev/null

# 3. The installer, silently: for all users, then for the current user (the
#    machine unchanged, the PATH option, the uninstall); then through its pages
#    for the current user, and its uninstaller through its question.
bash tests/windows/check_installer.sh "$INSTALLER" "$VERSION" "$BUILD/versemark_page_driver.exe"

# 4. One file tagged by versemark.exe, and the files the window tagged, against
#    the Linux build.
if [ -n "$LINUX_BUILD" ] && [ -x "$LINUX_BUILD/versemark" ]; then
    bash tests/windows/compare_one_file_run.sh "$LINUX_BUILD/versemark" "$BUILD/versemark.exe" "$WORK/compare"
    bash tests/windows/compare_window_tagging.sh "$LINUX_BUILD" "$WORK/window-tagged" "$WORK/compare-window"
else
    echo "build-windows: no Linux build given; the byte comparison is left out."
fi

ended=$(date +%s)
echo "build-windows: done (build $((built - started)) s, Wine checks $((ended - built)) s)."
