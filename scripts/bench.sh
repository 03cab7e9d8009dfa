#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in a Release tree
# (build/bench), runs them and prints each one's time as a multiple of the
# bare trigonometry loop (BM_BareTrig) of the same run.  The figures are the
# median CPU time of three repetitions.  Further arguments go to both
# benchmark programs (e.g. --benchmark_filter=Recalculate); the minimum time
# of each repetition is KORRIN_BENCH_MIN_TIME seconds (0.2 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=build/bench
min_time=${KORRIN_BENCH_MIN_TIME:-0.2}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORRIN_BUILD_BENCH=ON >/dev/null
programs=(korrin_bench)
if grep -q '^KORRIN_BUILD_QT:BOOL=ON' "$build/CMakeCache.txt"; then
  programs+=(korrin_window_bench)
fi
cmake --build "$build" --target "${programs[@]}"

outputs=()
for program in "${programs[@]}"; do
  out="$build/$program.json"
  rm -f "$out"
  echo "== $program =="
  # The window benchmarks choose the offscreen platform themselves.
  "$build/bench/$program" --benchmark_min_time="$min_time" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$out" --benchmark_out_format=json "$@"
  outputs+=("$out")
done

echo
python3 - "${outputs[@]}" <<'EOF'
import json
import sys

SCALE = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}  # to microseconds

rows, errors = [], []
for path in sys.argv[1:]:
    with open(path) as f:
        text = f.read()
    if not text.strip():  # a filter that matched none of the program's benchmarks
        continue
    report = json.loads(text)
    for b in report.get("benchmarks", []):
        name = b.get("run_name", b["name"])
        if b.get("error_occurred"):
            if (name, b.get("error_message", "")) not in errors:  # once, not per repetition
                errors.append((name, b.get("error_message", "")))
            continue
        # The median of the repetitions; a plain run when there is none.
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        rows.append((name, b["cpu_time"] * SCALE[b.get("time_unit", "ns")]))

base = dict(rows).get("BM_BareTrig")
width = max([len(n) for n, _ in rows + errors] + [9])
print(f"{'benchmark':<{width}}  {'CPU time':>12}  {'x BM_BareTrig':>13}")
for name, us in rows:
    ratio = f"{us / base:13.3f}" if base else f"{'-':>13}"
    print(f"{name:<{width}}  {us:9.1f} us  {ratio}")
for name, message in errors:
    print(f"{name:<{width}}  failed: {message}")
if not base:
    print("BM_BareTrig did not run: no ratios.")
sys.exit(1 if errors else 0)
EOF
