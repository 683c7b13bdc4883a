#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UBSan in
# build-fuzz, then runs them side by side, each for a fixed time, from the seed
# corpus in fuzz/corpus/<target>. Inputs that find new paths are kept in
# build-fuzz/corpus/<target> (so a later run goes on from there); an input that
# breaks an invariant or crashes is written to build-fuzz/crashes/ and makes the
# script fail.
#
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#
# SECONDS_PER_TARGET defaults to 300; the targets to all of them. Reproduce a
# crash with: build-fuzz/fuzz_<target> build-fuzz/crashes/<file>
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-300}
shift || true
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
    TARGETS=(tail_readers tagging matcher journal)
fi
# Big enough for a version 1 tag, which is looked for in the last 5120 bytes.
MAX_LEN=12000
BUILD=build-fuzz

CC=${FUZZ_CC:-clang-14} CXX=${FUZZ_CXX:-clang++-14} \
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERSEMARK_FUZZ=ON \
    -DVERSEMARK_WINDOW=OFF -DVERSEMARK_TESTS=OFF -DVERSEMARK_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j2 --target versemark_fuzz

# The targets run side by side, to use both cores.
mkdir -p "$BUILD/crashes"
pids=()
for target in "${TARGETS[@]}"; do
    mkdir -p "$BUILD/corpus/$target"
    echo "fuzz: $target for $SECONDS_PER_TARGET s"
    "./$BUILD/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len="$MAX_LEN" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$BUILD/crashes/$target-" \
        "$BUILD/corpus/$target" "fuzz/corpus/$target" >"$BUILD/fuzz_$target.log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!TARGETS[@]}"; do
    target=${TARGETS[$i]}
    log="$BUILD/fuzz_$target.log"
    if ! wait "${pids[$i]}"; then
        tail -n 40 "$log" >&2
        echo "fuzz: $target failed; the input is in $BUILD/crashes/, the log in $log" >&2
        failed=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz: $target: $runs runs ($rate per second), no failure"
done
exit "$failed"
