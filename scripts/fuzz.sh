#!/usr/bin/env bash
# Builds the station file fuzzer with clang and runs it for a bounded time
# (first argument, in seconds; 60 by default).  It starts from the inputs in
# tests/data/fuzz/, which the unit tests replay.  An input that makes it
# fail is written to tests/data/fuzz/ as crash-*, leak-* or timeout-*: keep
# it there (renamed to say what it holds) once the fault is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${KORRIN_FUZZ_BUILD_DIR:-build/fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORRIN_BUILD_FUZZ=ON -DKORRIN_BUILD_QT=OFF -DKORRIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target korrin_fuzz_load

# New inputs the fuzzer finds go to the build folder; the kept ones are read.
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
"$build/fuzz/korrin_fuzz_load" -max_total_time="$seconds" -max_len=1024 -timeout=30 \
  -artifact_prefix=tests/data/fuzz/ "$corpus" tests/data/fuzz
