#!/usr/bin/env bash
# Finds the path conversions that break on Windows: a std::filesystem::path turned
# into narrow text (.string(), .generic_string(): the ANSI code page there, and an
# exception for a letter it lacks), a path made straight from a std::string (read in
# the ANSI code page), and libarchive opened by narrow name only. Program text is
# UTF-8; PathFromUtf8 and PathToUtf8 (src/base/platform.h) are the one way between
# text and paths.
# Usage: scripts/check-paths.sh [source-folder]   (default: src of this checkout)
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)/src"}
status=0
report() { echo "$1"; status=1; }

while IFS= read -r hit; do
  report "$hit: a path as narrow text; use PathToUtf8"
done < <(grep -rnE '\.(generic_)?string\(\)' "$root" --include='*.cpp' --include='*.h' || true)

while IFS= read -r hit; do
  report "$hit: a path made from narrow text; use PathFromUtf8"
done < <(grep -rnE '(filesystem|fs)::path\((std::string|[a-zA-Z_]+\.c_str\(\))|/ std::string\(' "$root" \
           --include='*.cpp' --include='*.h' || true)

while IFS= read -r file; do
  grep -q 'archive_read_open_filename_w' "$file" ||
    report "$file: archive_read_open_filename without the wide form for Windows"
done < <(grep -rlE 'archive_read_open_filename\(' "$root" --include='*.cpp' || true)

if [ $status -eq 0 ]; then echo "check-paths: every path conversion goes through PathFromUtf8/PathToUtf8"; fi
exit $status
