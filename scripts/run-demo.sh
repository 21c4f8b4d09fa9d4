#!/usr/bin/env bash
# The main job: builds Морвель and makes one headless run over the bundled demo
# data (demo/is: a СЗВ-СТАЖ pack of a synthetic employer; demo/lists: its List, served
# by the reference List server on 127.0.0.1), in a data folder of its own under
# build/demo, so your own settings stay untouched. Ends with a summary: the exit code and
# its meaning, the errors and warnings of each set, where the protocol and the log are.
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
log_dir=$demo/home/Morvel/logs
protocol=$(ls "$demo/report"/*.html 2>/dev/null | head -n 1 || true)

# The meaning of a code is read from the README's exit-code table, so the two never disagree.
exit_meaning() {
  awk -v code="$1" -F' *[|] *' '
    /^### Exit codes/ { table = 1; next }
    table && /^#/ { exit }
    table && $2 == code { print $3; exit }' "$root/README.md"
}

# Every set's part of the protocol opens with its period heading and each of its tables ends
# with an "ИТОГО ОШИБОК: n" or "ИТОГО ПРЕДУПРЕЖДЕНИЙ: n" line; the protocol is windows-1251.
set_counts() {
  iconv -f WINDOWS-1251 -t UTF-8 "$1" | tr '\r\n' '  ' |
    grep -o -E 'Отчетный период: <b>.{0,200}</b></h3>|ИТОГО (ОШИБОК|ПРЕДУПРЕЖДЕНИЙ): [0-9]+' |
    awk '
      function flush() { if (name != "") printf "  %s: errors %d, warnings %d\n", name, errors, warnings }
      /^Отчетный период/ {
        flush()
        name = $0; sub(/^Отчетный период: <b>/, "", name); sub(/<\/b><\/h3>$/, "", name)
        gsub(/<[^>]*>/, "", name); gsub(/ +/, " ", name); gsub(/ ,/, ",", name); sub(/^ /, "", name); sub(/ $/, "", name)
        errors = 0; warnings = 0; next
      }
      /ОШИБОК/ { errors += $NF }
      /ПРЕДУПРЕЖДЕНИЙ/ { warnings += $NF }
      END { flush(); if (name == "") print "  no verification set" }'
}

# The whole debug log stays in its file; only a summary is printed.
echo
echo "exit code: $code ($(exit_meaning "$code"))"
if [ -n "$protocol" ]; then
  echo "sets in the protocol:"
  set_counts "$protocol"
  echo "protocol: $protocol"
else
  echo "protocol: none was written"
fi
logs=("$log_dir"/*.log)
if [ -f "${logs[0]}" ]; then
  for log in "${logs[@]}"; do echo "log: $log"; done
else
  echo "log: none was written (the data folder's logs folder is $log_dir)"
fi
[ -s "$demo/list-requests.log" ] && echo "List server requests: $demo/list-requests.log"
exit 0
