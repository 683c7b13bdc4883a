#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything with the tests and runs the whole suite; then builds the core
# with AddressSanitizer and UBSan and runs every test below the window under them;
# then builds for Windows and runs the Windows tests under Wine; then runs the fuzz
# targets for a short time. Fails on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

JOBS=-j2

# 1. Everything: the window program, the companion, the tests, the benchmark
#    programs (built, not run).
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVERSEMARK_WINDOW=ON -DVERSEMARK_TESTS=ON -DVERSEMARK_BENCH=ON
cmake --build build-test "$JOBS"

run_ctest() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
        # A virtual screen for anything that wants a real one; most window tests
        # draw off screen anyway.
        xvfb-run -a -s "-screen 0 1280x800x24" ctest "$@"
    else
        ctest "$@"
    fi
}
(cd build-test && run_ctest --output-on-failure "$JOBS" --timeout 600)

# 2. Everything below the window under the sanitizers: the tag readers, the ID3v2
#    lyrics frame and the tagging pass, the registry and settings readers, the start-up without a
#    window, the matching (the automaton's walk above all), versemark-cli and the
#    window logic.
SANITIZED_TESTS=(versemark_tags_tests versemark_tagging_tests versemark_platform_tests
    versemark_startup_tests versemark_matching_tests versemark_cli_tests
    versemark_windowlogic_tests)
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DVERSEMARK_SANITIZE=ON -DVERSEMARK_WINDOW=OFF -DVERSEMARK_BENCH=OFF
cmake --build build-sanitize "$JOBS" --target "${SANITIZED_TESTS[@]}"
for test_program in "${SANITIZED_TESTS[@]}"; do
    # The command-line tests run the sanitized versemark-cli of this build too.
    VERSEMARK_BUILD_DIR="$PWD/build-sanitize" \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "./build-sanitize/$test_program"
done

# 3. Windows: the cross-built programs, tests and installer under Wine, and a
#    one-file run compared byte for byte with the Linux build above.
bash scripts/build-windows.sh build-test

# 4. The fuzz targets (clang, with the sanitizers), side by side for 45 seconds from the
#    seed corpus; scripts/fuzz.sh alone runs them longer.
bash scripts/fuzz.sh 45

echo "test.sh: all tests passed."
