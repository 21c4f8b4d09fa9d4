#!/usr/bin/env bash
# Builds the benchmarks in an optimised build with debug information and prints the
# reading table: packs and Lists of 1,000 to 120,000 persons against xmllint's
# streaming parse and libxml2's DOM of the same files, every figure in a process of
# its own (see bench/reading/bench_reading.cpp); then the table of whole headless
# runs (bench/whole_run/bench_whole_run.cpp).
# Usage: scripts/bench.sh [--persons N,N,...] [--runs N] [--dir DIR]
#   --dir keeps the generated files there for the next run (the 120,000-person
#   pack is about 176 MiB); without it they go to a temporary folder and away.
# MORVEL_BENCH_BUILD_DIR overrides the build folder (default build/bench).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${MORVEL_BENCH_BUILD_DIR:-build/bench}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_BUILD_UI=OFF >/dev/null
cmake --build "$dir" -j "$jobs" --target bench_reading bench_read_once morvel-gen bench_whole_run
"$dir/bin/bench_reading" "$@"
echo
# Whole headless runs of a generated employer (pack, correction, List) against the
# reference List server: 1,000, 10,000 and 120,000 persons.
"$dir/bin/bench_whole_run"
