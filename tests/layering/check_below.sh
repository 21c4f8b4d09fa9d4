#!/bin/sh
# Checks that a lower library does not reach into a higher one: no source of the
# lower folder includes a header of the higher folder, and no symbol the lower
# library needs is one that only the higher library defines.
#
# Usage: check_below.sh LOWER_LIB HIGHER_LIB LOWER_SRC_DIR HIGHER_FOLDER_NAME
set -eu
lower_lib=$1
higher_lib=$2
lower_src=$3
higher=$4

if grep -rn "#include \"$higher/" "$lower_src"; then
  echo "$lower_src includes headers of $higher" >&2
  exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
nm -g --defined-only "$higher_lib" 2>/dev/null | awk 'NF == 3 && $2 != "W" && $2 != "V" { print $3 }' | sort -u >"$tmp/higher"
nm -g --defined-only "$lower_lib" 2>/dev/null | awk 'NF == 3 { print $3 }' | sort -u >"$tmp/lower_defined"
nm -g --undefined-only "$lower_lib" 2>/dev/null | awk '{ print $NF }' | sort -u >"$tmp/lower_needed"
comm -23 "$tmp/lower_needed" "$tmp/lower_defined" | comm -12 - "$tmp/higher" >"$tmp/reached"
if [ -s "$tmp/reached" ]; then
  echo "$lower_lib needs symbols of $higher_lib:" >&2
  c++filt <"$tmp/reached" >&2
  exit 1
fi
echo "$lower_lib reaches nothing of $higher_lib"
