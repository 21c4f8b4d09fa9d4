#!/usr/bin/env bash
# Renders a protocol (or any HTML file) in headless Chromium to a PNG picture, to
# look at it as the fund's staff will.
#
#   scripts/render-protocol.sh PROTOCOL.html PICTURE.png [WIDTH [HEIGHT]]
#
# WIDTH and HEIGHT are the browser window in pixels (default 1280 x 3000); what
# lies below HEIGHT is cut off.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/chromium.sh"

if [ $# -lt 2 ]; then
  echo "usage: $0 PROTOCOL.html PICTURE.png [WIDTH [HEIGHT]]" >&2
  exit 2
fi
input=$(realpath "$1")
output=$(realpath -m "$2")
width=${3:-1280}
height=${4:-3000}
[ -f "$input" ] || { echo "no such file: $1" >&2; exit 2; }

rm -f "$output"
run_chromium --window-size="$width,$height" --screenshot="$output" "file://$input" >/dev/null
[ -s "$output" ] || { echo "Chromium wrote no picture" >&2; exit 1; }
echo "$output"
