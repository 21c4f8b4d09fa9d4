#!/usr/bin/env bash
# Compiles the whole core for Windows with MinGW-w64 and links nothing: about a
# minute, and no Windows library is needed, only the Linux packages' headers. It
# keeps a Linux-only call from slipping into the core unseen.
#   scripts/windows/compile-check.sh [build folder]   (default build/windows-check)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/windows/bootstrap.sh --compiler-only
dir=${1:-build/windows-check}
headers="$PWD/$dir/headers"

# The third-party headers, gathered in one folder so that no Linux system header
# comes along. libxml2's configured options name iconv, which MinGW lacks: the
# check gives it a declaration of the one type those headers use.
mkdir -p "$headers"
link() { ln -sfn "$1" "$headers/$(basename "$1")"; }
link /usr/include/libxml2/libxml
link "$(dirname "$(find /usr/include -path '*/curl/curl.h' | head -1)")"
link /usr/include/archive.h
link /usr/include/archive_entry.h
link /usr/include/unicode
link /usr/include/pcre2.h
link /usr/include/boost
printf '%s\n' '/* Only for compiling against the Linux libxml2 headers. */' \
  '#pragma once' 'typedef void* iconv_t;' > "$headers/iconv.h"

cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows/mingw-w64-x86_64.cmake" \
  -DMORVEL_COMPILE_CHECK=ON -DMORVEL_HEADERS_DIR="$headers" -DMORVEL_BUILD_UI=OFF \
  -DMORVEL_BUILD_TESTS=OFF -DMORVEL_BUILD_TOOLS=OFF -DMORVEL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -- -k 0 -j "$(nproc 2>/dev/null || echo 2)"
echo "The core compiles for Windows (MinGW-w64)."
