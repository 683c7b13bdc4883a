#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds TagLib for 64-bit Windows (mingw-w64, posix threads) as a static
# library, from the source of the very TagLib the Linux build uses: Debian's
# source package of the installed libtag1-dev. The sources are fetched with a
# private apt configuration (its own source list, lists and cache under the
# build folder), so the machine's own apt sources stay as they are.
# The result is installed under PREFIX (include/, lib/libtag.a, lib/pkgconfig/)
# and kept: a second run with the same version does nothing.
# Usage: scripts/build-taglib-mingw.sh PREFIX WORK_FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
PREFIX=$1
WORK=$2
STAMP=$PREFIX/versemark-taglib-version

# The TagLib of the Linux build; Debian 12 ships 1.13.
VERSION=$(dpkg-query -W -f='${Version}' libtag1-dev)
UPSTREAM=${VERSION%%-*}
if [ "$UPSTREAM" != "1.13" ]; then
    echo "build-taglib-mingw: libtag1-dev is $VERSION, not the 1.13 of Debian 12." >&2
    exit 1
fi
if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$VERSION" ] && [ -f "$PREFIX/lib/libtag.a" ]; then
    echo "build-taglib-mingw: TagLib $VERSION for Windows is already built."
    exit 0
fi
started=$(date +%s)

# A private apt: the machine's Debian repositories as source (deb-src) entries,
# and lists and downloads of its own.
APT=$WORK/apt
rm -rf "$WORK"
mkdir -p "$APT/sources.list.d" "$APT/lists/partial" "$APT/cache/archives/partial" "$WORK/source"
for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # Only the Debian archive's paragraphs, each turned into a source entry.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /URIs:[^\n]*debian\.org/ && /Types:[^\n]*deb/ {
             sub(/Types:[^\n]*/, "Types: deb-src"); print }' \
        "$file" >"$APT/sources.list.d/$(basename "$file")"
done
: >"$APT/sources.list"
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -n 's/^deb \(.*debian\.org.*\)/deb-src \1/p' "$file" >>"$APT/sources.list"
done
apt_options=(
    -o "Dir::Etc::SourceList=$APT/sources.list"
    -o "Dir::Etc::SourceParts=$APT/sources.list.d"
    -o "Dir::State::Lists=$APT/lists"
    -o "Dir::Cache=$APT/cache"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o "APT::Sandbox::User=root"
)
apt-get "${apt_options[@]}" -qq update
(cd "$WORK/source" && apt-get "${apt_options[@]}" -qq source --download-only "taglib=$VERSION")
dsc=$(ls "$WORK"/source/taglib_*.dsc)
# apt has checked every file against the signed archive index; the uploader's own
# signature on the .dsc would need Debian's keyring of developers.
dpkg-source --no-check -x "$dsc" "$WORK/source/taglib" >/dev/null
SOURCE=$WORK/source/taglib

# Static, without zlib (compressed frames are not written here). Debian's patches
# include the UTF-8 conversion headers as <utf8/...> from a package of their
# own; the copy bundled with the source takes its place.
mkdir -p "$WORK/include"
ln -s "$SOURCE/3rdparty/utf8-cpp" "$WORK/include/utf8"
cmake -S "$SOURCE" -B "$WORK/build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DBUILD_SHARED_LIBS=OFF -DWITH_ZLIB=OFF -DBUILD_TESTING=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_BINDINGS=OFF -DCMAKE_CXX_FLAGS="-I$WORK/include" >"$WORK/build.log" 2>&1 &&
    cmake --build "$WORK/build" -j2 >>"$WORK/build.log" 2>&1 ||
    { tail -n 30 "$WORK/build.log" >&2; echo "build-taglib-mingw: the build failed." >&2; exit 1; }
rm -rf "$PREFIX"
cmake --install "$WORK/build" >/dev/null
echo "$VERSION" >"$STAMP"
rm -rf "$WORK"
echo "build-taglib-mingw: TagLib $VERSION built for Windows in $(($(date +%s) - started)) s."
