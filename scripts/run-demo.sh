#!/usr/bin/env bash
# The main job: builds Морвель and makes one headless run over the bundled demo
# data (demo/is: a СЗВ-СТАЖ pack of a synthetic employer; demo/lists: its List, served
# by the reference List server on 127.0.0.1), in a data folder of its own under
# build/demo, so your own settings stay untouched. Prints the exit code, the log and
# where the protocol is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/bootstrap.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target morvel morvel_data morvel-list-server

demo=$root/build/demo
rm -rf "$demo"
mkdir -p "$demo/home/Morvel" "$demo/report"

# The reference List server answers the program's List requests from demo/lists.
"$build/bin/morvel-list-server" --lists "$root/demo/lists" --port 0 --log "$demo/list-requests.log" \
  > "$demo/list-server.out" 2> "$demo/list-server.err" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  [ -s "$demo/list-server.out" ] && break
  sleep 0.05
done
port=$(head -n 1 "$demo/list-server.out")
[ -n "$port" ] || { echo "the reference List server did not start" >&2; cat "$demo/list-server.err" >&2; exit 1; }

sed -e "s|@IS@|$root/demo/is|" -e "s|@REPORT@|$demo/report|" -e "s|@LISTS@|$root/demo/lists|" \
    -e "s|@PORT@|$port|" demo/MorvelConfig.ini > "$demo/home/Morvel/MorvelConfig.ini"

set +e
XDG_CONFIG_HOME="$demo/home" MORVEL_HTTP_TIMEOUT=20 "$build/bin/morvel" bpi "$root/demo/is" "$demo/report"
code=$?
set -e
echo "exit code: $code"
for log in "$demo/home/Morvel/logs/"*.log; do
  [ -f "$log" ] && { echo "--- log: $log"; cat "$log"; }
done
if [ -s "$demo/list-requests.log" ]; then
  echo "--- List server requests:"
  cat "$demo/list-requests.log"
fi
ls "$demo/report"/*.html 2>/dev/null | sed 's/^/protocol: /' || true
