#!/usr/bin/env bash
# Builds the two station file fuzzers with clang and runs them, both starting
# from the inputs in tests/data/fuzz/, which the unit tests replay:
#   - the whole Get Data path (korrin_fuzz_load) for a bounded time: the
#     first argument, in seconds, 60 by default;
#   - the file parser and the record checks alone (korrin_fuzz_record) for a
#     number of executions: the second argument, 10000000 by default.
# An input that makes one fail is written to tests/data/fuzz/ as crash-*,
# leak-* or timeout-*: keep it there (renamed to say what it holds) once the
# fault is mended.  Each run ends with a line of its executions and speed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
runs=${2:-10000000}
build=${KORRIN_FUZZ_BUILD_DIR:-build/fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORRIN_BUILD_FUZZ=ON -DKORRIN_BUILD_QT=OFF -DKORRIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target korrin_fuzz_load korrin_fuzz_record

# Runs one fuzzer; new inputs it finds go to the build folder, the kept ones
# are read.  Prints the executions, the wall time and the executions per
# second from the fuzzer's own count.
run_fuzzer() {
  local name=$1
  shift
  local corpus="$build/fuzz-corpus-$name" log="$build/fuzz-$name.log"
  mkdir -p "$corpus"
  local start end status=0
  start=$(date +%s.%N)
  "$build/fuzz/korrin_fuzz_$name" "$@" -timeout=30 -print_final_stats=1 \
    -artifact_prefix=tests/data/fuzz/ "$corpus" tests/data/fuzz >"$log" 2>&1 || status=$?
  end=$(date +%s.%N)
  # The fuzzer's own progress lines are left in the log.
  grep -v -e '^#[0-9]*[[:space:]]*\(pulse\|NEW\|REDUCE\)' -e '^[[:space:]]*NEW_FUNC' "$log" || true
  local done
  done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  awk -v n="${done:-0}" -v a="$start" -v b="$end" -v name="$name" 'BEGIN {
    t = b - a; printf "fuzz %s: %d executions in %.1f s wall, %.0f per second\n", name, n, t, n / t }'
  return "$status"
}

run_fuzzer load -max_total_time="$seconds" -max_len=1024
run_fuzzer record -runs="$runs" -max_len=640
