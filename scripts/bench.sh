#!/usr/bin/env bash
# Builds the benchmarks in an optimised build with debug information and runs each.
# Every folder bench/<name> with a CMakeLists.txt is one benchmark whose program is
# bench_<name>; adding a folder is all it takes to add one.
# Usage: scripts/bench.sh [name...]   (all benchmarks when no name is given)
# MORVEL_BENCH_BUILD_DIR overrides the build folder (default build/bench).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${MORVEL_BENCH_BUILD_DIR:-build/bench}
jobs=$(nproc 2>/dev/null || echo 2)

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for d in bench/*/; do
    [ -f "$d/CMakeLists.txt" ] && names+=("$(basename "$d")")
  done
fi
if [ ${#names[@]} -eq 0 ]; then
  echo "no benchmarks found" >&2
  exit 1
fi

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_BUILD_UI=OFF >/dev/null
targets=()
for n in "${names[@]}"; do targets+=("bench_$n"); done
cmake --build "$dir" -j "$jobs" --target "${targets[@]}"

status=0
for n in "${names[@]}"; do
  echo "=== bench_$n ==="
  "$dir/bin/bench_$n" || status=1
done
exit $status
