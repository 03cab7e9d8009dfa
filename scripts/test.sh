#!/usr/bin/env bash
# Installs what is missing, builds Korrin and runs every test: once in a
# plain build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

passed=0
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" | tee "$dir/ctest.log"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$dir/ctest.log")))
}

echo "== source format =="
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "== clang-tidy =="
bash scripts/tidy.sh

echo "== plain build =="
run_suite build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== install check =="
bash scripts/check-install.sh build/test
echo "== sanitizer build (ASan + UBSan) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKORRIN_SANITIZE=ON -DKORRIN_BUILD_BENCH=OFF
echo "== Debian package =="
bash scripts/check-package.sh
if [ -f scripts/fuzz.sh ]; then
  echo "== fuzzing the station file loader and the station file parser =="
  bash scripts/fuzz.sh "${KORRIN_FUZZ_SECONDS:-60}" "${KORRIN_FUZZ_RUNS:-10000000}"
fi
echo "All tests passed."
echo "$passed passed, 0 failed"
