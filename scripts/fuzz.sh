#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a bounded time from a corpus seeded
# with the test data and the inputs kept under tests/fuzz. Prints one line per
# target (executions, seconds, crashes) and fails when any target crashed; the
# crashing inputs are left in build/fuzz/artifacts, to be fixed and then kept
# under tests/fuzz/<target> as regression inputs.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/bootstrap.sh

dir=build/fuzz
cmake -S . -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_FUZZ=ON -DMORVEL_BUILD_UI=OFF -DMORVEL_BUILD_TESTS=OFF >/dev/null
targets=(pack_reader list_reader server_answer text_lists config_file archive_extraction folder_loading)
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]/#/fuzz_}"

# Seeds beyond the kept inputs: every pack, List and server answer of the tests.
seeds_of() {
  case "$1" in
    pack_reader) find tests/data/packs tests/data/pipeline demo/is -name '*.xml' ;;
    list_reader | server_answer) find tests/data/lists tests/data/list-server tests/data/pipeline/lists -name '*.xml' ;;
    text_lists | config_file | archive_extraction | folder_loading) ;;
  esac
}

failed=0
printf '%-18s %12s %8s %8s\n' target executions seconds crashes
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"
  artifacts="$dir/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  cp -n tests/fuzz/"$target"/* "$corpus"/ 2>/dev/null || true
  while IFS= read -r seed; do cp -n "$seed" "$corpus/" 2>/dev/null || true; done < <(seeds_of "$target")
  log="$dir/$target.log"
  start=$(date +%s)
  set +e
  ASAN_OPTIONS=detect_leaks=1:detect_odr_violation=0 \
    "$dir/bin/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=30 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" >"$log" 2>&1
  status=$?
  set -e
  elapsed=$(( $(date +%s) - start ))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  crashes=$(find "$artifacts" -type f | wc -l)
  printf '%-18s %12s %8s %8s\n' "$target" "${executions:-?}" "$elapsed" "$crashes"
  if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    failed=1
    echo "--- $target failed (exit $status); the end of its log:" >&2
    tail -40 "$log" >&2
  fi
done
exit "$failed"
