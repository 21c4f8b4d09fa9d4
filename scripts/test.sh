#!/usr/bin/env bash
# Checks the layering of the sources, then builds the program and runs every test
# twice: an optimised build with warnings as errors, and a debug build under
# AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target
# briefly (scripts/fuzz.sh, clang with both sanitizers); compiles the core for
# Windows with MinGW-w64, and runs the Windows suite under wine when the Windows
# libraries are in their cache (scripts/windows/build-deps.sh builds them, once).
# Usage: scripts/test.sh [release|sanitize|fuzz|windows ...]   (all when no argument is given)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
scripts/check-layering.sh
scripts/check-paths.sh

jobs=$(nproc 2>/dev/null || echo 2)
configs=("${@:-release sanitize fuzz windows}")
read -r -a configs <<< "${configs[*]}"

for config in "${configs[@]}"; do
  case "$config" in
    release) dir=build/release; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_WERROR=ON) ;;
    sanitize) dir=build/sanitize; flags=(-DCMAKE_BUILD_TYPE=Debug -DMORVEL_SANITIZE=ON -DMORVEL_WERROR=ON) ;;
    fuzz)
      echo "=== fuzz targets ==="
      scripts/fuzz.sh "${MORVEL_FUZZ_SECONDS:-15}"
      continue ;;
    windows)
      echo "=== Windows: the core compiled with MinGW-w64 ==="
      scripts/windows/compile-check.sh
      if scripts/windows/test.sh --if-built; then :; else exit 1; fi
      continue ;;
    *) echo "unknown configuration: $config" >&2; exit 2 ;;
  esac
  echo "=== $config build ==="
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "=== $config tests ==="
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
done
