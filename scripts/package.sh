#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package versemark_VERSION_ARCH.deb with CPack.
#   scripts/package.sh [BUILD_DIR [OUTPUT_DIR]]
# BUILD_DIR (default build/) is configured as a release build (RelWithDebInfo;
# the package gets the programs stripped) when it holds none yet, and brought up
# to date; a build folder with the tests, such as build-test/, serves as well.
# The package goes to OUTPUT_DIR (default: BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${1:-build}
OUTPUT=${2:-$BUILD}
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    bash scripts/setup.sh
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVERSEMARK_WINDOW=ON -DVERSEMARK_TESTS=OFF -DVERSEMARK_BENCH=OFF
fi
cmake --build "$BUILD" -j2
mkdir -p "$OUTPUT"
OUTPUT=$(cd "$OUTPUT" && pwd)
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$OUTPUT"
rm -rf "$OUTPUT/_CPack_Packages"
ls "$OUTPUT"/versemark_*.deb
