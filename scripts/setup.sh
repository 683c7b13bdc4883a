#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Versemark need,
# but only those that are missing: a machine that has them all is left alone.
# Packages given as arguments are installed as well.
set -euo pipefail

PACKAGES=(
    build-essential cmake g++
    qt6-base-dev libgl1-mesa-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth imagemagick
    libtag1-dev pkg-config
    python3-mutagen ffmpeg libimage-exiftool-perl
    help2man desktop-file-utils appstream file lintian
    clang-14 libclang-rt-14-dev
)
# A caller may ask for more (the Windows build adds its cross compiler, Wine, NSIS).
PACKAGES+=("$@")

missing=()
for package in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    if [ "$status" != "installed" ]; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all needed packages are installed."
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup: missing packages (${missing[*]}) and neither root nor sudo to install them." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
