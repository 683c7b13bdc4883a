#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build folder with scripts/package.sh, checks
# its fields, dependencies and contents with dpkg-deb, unpacks it into a scratch
# root with dpkg -x and runs the programs from there.
#   check_package.sh SOURCE_DIR BUILD_DIR PROJECT_VERSION
set -euo pipefail
source_dir=$1
build_dir=$2
version=$3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/versemark-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

started=$SECONDS
bash "$source_dir/scripts/package.sh" "$build_dir" "$scratch/out" >"$scratch/package.log" 2>&1 || {
    cat "$scratch/package.log"
    echo "FAIL: scripts/package.sh failed"
    exit 1
}
echo "package built in $((SECONDS - started)) s"
debs=("$scratch"/out/versemark_"$version"_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    ls -l "$scratch/out"
    echo "FAIL: expected one versemark_${version}_ARCH.deb"
    exit 1
fi
deb=${debs[0]}

# The control fields.
field() {
    dpkg-deb --field "$deb" "$1"
}
[ "$(field Package)" = versemark ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = sound ] || fail "Section is '$(field Section)'"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^\>]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
description=$(field Description)
[ "$(printf '%s\n' "$description" | wc -l)" -gt 2 ] || fail "the description has no long part: $description"
# Computed from the binaries: the C++ runtime, Qt's widgets and its local sockets
# at least.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6widgets6 libqt6network6; do
    [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library: $depends"
done

# The contents.
dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$scratch/contents"
for path in /usr/bin/versemark /usr/bin/versemark-cli \
    /usr/share/applications/versemark.desktop \
    /usr/share/metainfo/example.versemark.Versemark.metainfo.xml \
    /usr/share/man/man1/versemark.1.gz /usr/share/man/man1/versemark-cli.1.gz \
    /usr/share/icons/hicolor/48x48/apps/versemark.png \
    /usr/share/icons/hicolor/64x64/apps/versemark.png \
    /usr/share/icons/hicolor/128x128/apps/versemark.png \
    /usr/share/icons/hicolor/256x256/apps/versemark.png \
    /usr/share/icons/hicolor/scalable/apps/versemark.svg \
    /usr/share/doc/versemark/changelog.gz /usr/share/doc/versemark/copyright; do
    grep -qxF "$path" "$scratch/contents" || fail "the package lacks $path"
done
# Nothing of the build or the tests comes along.
if grep -vE '^/usr/(bin|share/(applications|metainfo|man|icons|doc))(/|$)|^/$|^/usr/$|^/usr/share/$' \
    "$scratch/contents" >"$scratch/unexpected"; then
    fail "unexpected files in the package: $(tr '\n' ' ' <"$scratch/unexpected")"
fi

# Debian's own package checker finds no error (warnings and notes are allowed).
lintian --no-tag-display-limit "$deb" >"$scratch/lintian" 2>&1 || true
if grep -q '^E: ' "$scratch/lintian"; then
    fail "lintian found errors: $(grep '^E: ' "$scratch/lintian" | tr '\n' ' ')"
fi

# Unpacked into a scratch root, the programs run from there.
root=$scratch/root
dpkg -x "$deb" "$root"
cli=$root/usr/bin/versemark-cli
[ "$("$cli" --version | head -n 1)" = "versemark-cli $version" ] || fail "versemark-cli --version: $("$cli" --version 2>&1)"
[ "$("$root/usr/bin/versemark" --version | head -n 1)" = "versemark $version" ] ||
    fail "versemark --version: $("$root/usr/bin/versemark" --version 2>&1)"
"$cli" --version | grep -q 'GPL-3.0-or-later' || fail "versemark-cli --version names no licence"
if "$cli" demo "$scratch/demo" >"$scratch/demo.log" 2>&1; then
    [ -f "$scratch/demo/wine/system.reg" ] || fail "versemark-cli demo wrote no whole library"
    ls "$scratch/demo/music/"*.mp3 >/dev/null 2>&1 || fail "versemark-cli demo wrote no MP3 files"
else
    fail "versemark-cli demo failed: $(cat "$scratch/demo.log")"
fi
newest=$(zcat "$root/usr/share/doc/versemark/changelog.gz" | head -n 1)
[[ $newest == "versemark ($version) "* ]] || fail "the changelog's newest entry is not $version: $newest"
# The manual page of the companion carries every verb's help.
zcat "$root/usr/share/man/man1/versemark-cli.1.gz" >"$scratch/versemark-cli.1"
for verb in config scan tag show prepare demo; do
    grep -qx "\.SS $verb" "$scratch/versemark-cli.1" || fail "versemark-cli(1) lacks the verb $verb"
done
# The installed desktop data, read together as a software centre reads it.
appstreamcli validate-tree --no-net "$root/usr" || fail "appstreamcli validate-tree found errors"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") checked"
