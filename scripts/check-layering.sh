#!/usr/bin/env bash
# Checks that no source of the program includes a header of a higher layer than its
# own, and that the core (everything but the windows) includes no Qt header. The
# link dependencies in src/*/CMakeLists.txt keep a layer from linking a higher one;
# this keeps a header-only use from slipping past them.
# Usage: scripts/check-layering.sh [source-folder]   (default: src of this checkout)
# Prints every offending line as file:line: text and exits 1 when there is one.
set -euo pipefail

root=${1:-"$(cd "$(dirname "$0")/.." && pwd)/src"}
if [ ! -d "$root" ]; then
  echo "check-layering: no folder $root" >&2
  exit 2
fi

# The layers from the bottom up. Folders on one line are peers: neither may include
# the other.
layers=(
  "base"
  "log"
  "xml"
  "config"
  "model"
  "results"
  "records list"
  "verify"
  "protocol"
  "app"
  "ui"
)

declare -A rank=()
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

failures=0
report() {
  echo "$1" >&2
  failures=$((failures + 1))
}

while IFS= read -r -d '' file; do
  relative=${file#"$root"/}
  own=${relative%%/*}
  [ "$own" = "$relative" ] && continue         # the program entry sits above every layer
  [ -n "${rank[$own]+x}" ] || continue         # a folder that is not a layer
  line_no=0
  while IFS= read -r line || [ -n "$line" ]; do
    line_no=$((line_no + 1))
    [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\<\"]([^\>\"]+)[\>\"] ]] || continue
    header=${BASH_REMATCH[1]}
    if [ "$own" != "ui" ] && [[ $header =~ ^Q[A-Za-z]*(/|$) ]]; then
      report "$relative:$line_no: the core includes the Qt header <$header>"
      continue
    fi
    [[ $header == */* ]] || continue
    target=${header%%/*}
    [ -n "${rank[$target]+x}" ] || continue    # a library's or a generated header
    [ "$target" = "$own" ] && continue
    if [ "${rank[$target]}" -gt "${rank[$own]}" ]; then
      report "$relative:$line_no: $own includes $header of the higher layer $target"
    elif [ "${rank[$target]}" -eq "${rank[$own]}" ]; then
      report "$relative:$line_no: $own includes $header of its peer layer $target"
    fi
  done < "$file"
done < <(find "$root" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$failures" -gt 0 ]; then
  echo "check-layering: $failures include(s) against the layering" >&2
  exit 1
fi
echo "check-layering: every include keeps to its layer"
