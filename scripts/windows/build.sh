#!/usr/bin/env bash
# Builds the headless morvel.exe for Windows with MinGW-w64 against the cached
# Windows libraries (scripts/windows/build-deps.sh builds them first when missing).
#   scripts/windows/build.sh [build folder]   (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/env.sh
scripts/windows/build-deps.sh
dir=${1:-build/windows}
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows/mingw-w64-x86_64.cmake" \
  -DMORVEL_WINDOWS_PREFIX="$MORVEL_WINDOWS_PREFIX" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_WERROR=ON \
  -DMORVEL_BUILD_UI=OFF -DMORVEL_BUILD_TOOLS=OFF -DMORVEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target morvel morvel_data
echo "built: $dir/bin/morvel.exe"
