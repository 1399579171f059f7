#!/usr/bin/env bash
# Builds the parsers' libFuzzer programs (clang, address and undefined-behaviour sanitizers) into
# build-fuzz and runs them one after another, each until 10^6 executions or the given seconds, whichever
# comes first. The seeds in tests/fuzz/corpus/<target> are copied into build-fuzz/corpus/<target>, where
# new inputs collect; a finding is written to build-fuzz/findings/<target>/. Keep a finding by copying it
# into tests/fuzz/reproducers/<target>/ once it is fixed: the ordinary test run replays it.
# Usage: scripts/fuzz.sh [seconds] [target...]   (default 300 seconds, every target)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-fuzz"
seconds="${1:-300}"
shift || true
runs="${QINTAR_FUZZ_RUNS:-1000000}"

all_targets=(position_reply number_text project_file coordinates_file distances_file angles_file
             settings_file receive_path feature_section)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

# clang and its runtime libraries (libFuzzer is in libclang-rt-14-dev); only this script needs them.
bash "$here/scripts/install-deps.sh" clang-14 libclang-rt-14-dev

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DQINTAR_FUZZ=ON -DQINTAR_BUILD_TESTS=OFF -DQINTAR_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

# Leak checks off: Qt keeps some allocations of its own until exit.
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
summary="$build/summary.txt"
printf '%-18s %12s %10s %8s %8s %s\n' target executions exec/s cov ft result >"$summary"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  cp -n "$here/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
  dict=()
  [ -f "$here/tests/fuzz/dictionaries/$target.dict" ] && dict=(-dict="$here/tests/fuzz/dictionaries/$target.dict")
  echo "fuzz: $target for up to $seconds s or $runs executions (log: $log)"
  result=ok
  "$build/tests/fuzz/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -runs="$runs" \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || { result=FINDING; status=1; }
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo "?")
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo "?")
  printf '%-18s %12s %10s %8s %8s %s\n' "$target" "$executions" "$speed" "$cov" "$ft" "$result" >>"$summary"
  [ "$result" = ok ] || grep -m3 -E 'fuzz property failed|ERROR: |SUMMARY: ' "$log" >&2 || true
done
cat "$summary"
exit $status
