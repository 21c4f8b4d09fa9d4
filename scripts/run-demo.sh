#!/usr/bin/env bash
# The main job: builds the program and makes one headless run over the bundled demo
# data, in a data folder of its own under build/demo (your own settings stay
# untouched). Prints the exit code, the log and where the protocol is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/bootstrap.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target morvel morvel_data

demo=$root/build/demo
rm -rf "$demo"
mkdir -p "$demo/home/Morvel" "$demo/report"
port=9  # no List server yet: the run stops at the parameter check or the server request
sed -e "s|@IS@|$root/demo/is|" -e "s|@REPORT@|$demo/report|" -e "s|@LISTS@|$root/demo/lists|" \
    -e "s|@PORT@|$port|" demo/MorvelConfig.ini > "$demo/home/Morvel/MorvelConfig.ini"

set +e
XDG_CONFIG_HOME="$demo/home" "$build/bin/morvel" bpi "$root/demo/is" "$demo/report"
code=$?
set -e
echo "exit code: $code"
for log in "$demo/home/Morvel/logs/"*.log; do
  [ -f "$log" ] && { echo "--- log: $log"; cat "$log"; }
done
ls "$demo/report"/*.html 2>/dev/null | sed 's/^/protocol: /' || true
