#!/usr/bin/env bash
# Pictures of the main window, each page of the settings dialog and each small
# dialog, with the demo settings loaded, taken under a virtual X server (Xvfb).
#   scripts/screenshots.sh [output folder]     (default: build/screenshots)
# Builds what it needs in build/release unless MORVEL_BUILD_DIR names another tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/bootstrap.sh

build=${MORVEL_BUILD_DIR:-build/release}
out=${1:-$root/build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target morvel-screenshots morvel_data

# A data folder of its own with the demo configuration, a few rights and one
# re-registration, so that the settings pages show what they hold.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/Morvel" "$home/report"
sed -e "s|@IS@|$root/demo/is|" -e "s|@REPORT@|$home/report|" -e "s|@LISTS@|$root/demo/lists|" \
    -e "s|@PORT@|8080|" demo/MorvelConfig.ini > "$home/Morvel/MorvelConfig.ini"
printf '099-001-000123/11000000 01.01.2015 31.12.2024\r\n099-002/11111111\r\n045-001-000001/00100000\r\n' \
  > "$home/Morvel/RightList.txt"
printf '099-001-000100/099-001-000123/2019/3\r\n' > "$home/Morvel/CrossingList.txt"

rm -f "$out"/*.png
XDG_CONFIG_HOME="$home" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/morvel-screenshots" "$out"
echo "screenshots in $out"
