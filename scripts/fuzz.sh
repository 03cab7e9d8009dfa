#!/usr/bin/env bash
# Builds the station file fuzzers with clang and runs them, starting from the
# inputs in tests/data/fuzz/, which the unit tests replay:
#   - the whole Get Data path (korrin_fuzz_load) for a bounded time, in one
#     process per core: the first argument, in seconds, 30 by default;
#   - the file parser and the record checks alone (korrin_fuzz_record) for a
#     number of executions: the second argument, 10000000 by default;
#   - the whole station's TOML file (korrin_fuzz_station) for a number of
#     executions: the third argument, 1000000 by default;
#   - the evaluation of every station file the reader accepts
#     (korrin_fuzz_evaluate) for a number of executions: the fourth
#     argument, 100000 by default (each evaluation samples the property line
#     and every place, a thousand times the reader's work).
# An input that makes one fail is written to tests/data/fuzz/ as crash-*,
# leak-* or timeout-*: keep it there (renamed to say what it holds) once the
# fault is mended.  Each run ends with a line of its executions and speed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
runs=${2:-10000000}
station_runs=${3:-${KORRIN_FUZZ_STATION_RUNS:-1000000}}
evaluate_runs=${4:-${KORRIN_FUZZ_EVALUATE_RUNS:-100000}}
build=${KORRIN_FUZZ_BUILD_DIR:-build/fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORRIN_BUILD_FUZZ=ON -DKORRIN_BUILD_QT=OFF -DKORRIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target korrin_fuzz_load korrin_fuzz_record korrin_fuzz_station \
  korrin_fuzz_evaluate

# Runs one fuzzer in `workers` processes side by side (each with its own
# log, and its share of the executions when `runs` is given), all writing
# the new inputs they find to one folder in the build tree and reading the
# kept ones.  Prints the executions of all workers together, the wall time
# and the executions per second.
#   run_fuzzer NAME WORKERS RUNS|- FLAGS...
run_fuzzer() {
  local name=$1 workers=$2 runs=$3
  shift 3
  local corpus="$build/fuzz-corpus-$name" seeds=${KORRIN_FUZZ_SEEDS:-tests/data/fuzz}
  mkdir -p "$corpus"
  local start end status=0 pids=() logs=() w
  start=$(date +%s.%N)
  for ((w = 0; w < workers; w++)); do
    local log="$build/fuzz-$name-$w.log" share=()
    if [ "$runs" != - ]; then
      share=(-runs=$(((runs + workers - 1 - w) / workers)))
    fi
    "$build/fuzz/korrin_fuzz_$name" "$@" "${share[@]}" -timeout=30 \
      -print_final_stats=1 -artifact_prefix="$seeds/" "$corpus" "$seeds" \
      >"$log" 2>&1 &
    pids+=($!)
    logs+=("$log")
  done
  for w in "${!pids[@]}"; do
    wait "${pids[$w]}" || status=1
  done
  end=$(date +%s.%N)
  local done=0 n
  for log in "${logs[@]}"; do
    # The fuzzer's own progress lines are left in the log.
    grep -v -e '^#[0-9]*[[:space:]]*\(pulse\|NEW\|REDUCE\)' -e '^[[:space:]]*NEW_FUNC' "$log" || true
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    done=$((done + ${n:-0}))
  done
  awk -v n="$done" -v a="$start" -v b="$end" -v name="$name" -v w="$workers" 'BEGIN {
    t = b - a
    printf "fuzz %s: %d executions in %.1f s wall (%d process%s), %.0f per second\n",
      name, n, t, w, w == 1 ? "" : "es", n / t }'
  return "$status"
}

# The loader: one process per core for the time given.
run_fuzzer load "$(nproc)" - -max_total_time="$seconds" -max_len=1024
# The parser: one process per core, sharing the executions.  Its coverage is
# reached within seconds, so the plain power schedule does: the entropic one
# would spend a third of the time on its own bookkeeping.
run_fuzzer record "$(nproc)" "$runs" -max_len=640 -entropic=0
# The station file: one process per core too, with the file's words as a
# dictionary; a kilobyte holds every kind of entry, and a longer input only
# repeats them more slowly.
KORRIN_FUZZ_SEEDS=tests/data/fuzz/station run_fuzzer station "$(nproc)" "$station_runs" \
  -max_len=1024 -entropic=0 -dict=fuzz/station.dict
# The evaluation: the station file's seeds and dictionary, inputs up to 4 KiB
# (a file of several installations and places).
KORRIN_FUZZ_SEEDS=tests/data/fuzz/station run_fuzzer evaluate "$(nproc)" "$evaluate_runs" \
  -max_len=4096 -entropic=0 -dict=fuzz/station.dict
