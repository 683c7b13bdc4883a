#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that are missing and builds versemark and
# versemark-cli into the folder given (build/ by default).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${1:-build}
bash scripts/setup.sh
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVERSEMARK_WINDOW=ON -DVERSEMARK_TESTS=OFF -DVERSEMARK_BENCH=OFF
cmake --build "$BUILD" -j2 --target versemark versemark-cli
