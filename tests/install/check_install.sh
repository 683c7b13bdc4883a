#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks that the tree holds what a
# desktop needs: both programs, their manual pages, the menu entry, its icons and
# the AppStream data.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/versemark-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

failures=0
expect_file() {
    if [ ! -f "$prefix/$1" ]; then
        echo "missing: $1"
        failures=$((failures + 1))
    fi
}
expect_file bin/versemark
expect_file bin/versemark-cli
expect_file share/applications/versemark.desktop
expect_file share/icons/hicolor/48x48/apps/versemark.png
expect_file share/icons/hicolor/256x256/apps/versemark.png
expect_file share/icons/hicolor/scalable/apps/versemark.svg
expect_file share/metainfo/example.versemark.Versemark.metainfo.xml
expect_file share/man/man1/versemark.1.gz
expect_file share/man/man1/versemark-cli.1.gz

for program in versemark versemark-cli; do
    [ -x "$prefix/bin/$program" ] || { echo "not executable: bin/$program"; failures=$((failures + 1)); }
done
desktop="$prefix/share/applications/versemark.desktop"
if [ -f "$desktop" ]; then
    for line in '[Desktop Entry]' 'Type=Application' 'Exec=versemark' 'Icon=versemark'; do
        grep -qxF "$line" "$desktop" || { echo "desktop entry lacks: $line"; failures=$((failures + 1)); }
    done
fi
# The installed companion runs from its new place.
"$prefix/bin/versemark-cli" --help >/dev/null || { echo "installed versemark-cli --help failed"; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) in the installed tree"
    exit 1
fi
echo "installed tree complete"
