#!/usr/bin/env bash
# Installs what is missing, builds Korrin and runs every test: once in a
# plain build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Each stage's heading, after the time the one before it took.
stage_name=
stage_start=$SECONDS
stage_end() {
  local took=$((SECONDS - stage_start))
  if [ -n "$stage_name" ]; then echo "-- $stage_name: $((took / 60)) min $((took % 60)) s"; fi
}
stage() {
  stage_end
  stage_name=$1
  stage_start=$SECONDS
  echo "== $1 =="
}

passed=0
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  # The near field's solutions are cached per user: each suite starts from an
  # empty cache of its own, so that no earlier run's files answer for it.
  rm -rf "$dir/cache"
  XDG_CACHE_HOME="$PWD/$dir/cache" ctest --test-dir "$dir" --output-on-failure -j "$jobs" | tee "$dir/ctest.log"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$dir/ctest.log")))
}

stage "source format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
stage "clang-tidy"
bash scripts/tidy.sh

stage "plain build"
# Line tables only (-g1): a backtrace still names file and line, and the
# build takes a third less time than with full debugging information.
run_suite build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
stage "install check"
bash scripts/check-install.sh build/test
stage "sanitizer build (ASan + UBSan)"
# Each GoogleTest program runs as one shard per core rather than one process
# per case: a sanitized process takes a tenth of a second to start.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKORRIN_SANITIZE=ON -DKORRIN_BUILD_BENCH=OFF \
  -DKORRIN_TEST_SHARDS="$jobs"
stage "Debian package"
bash scripts/check-package.sh
if [ -f scripts/fuzz.sh ]; then
  stage "fuzzing the station file loader and the station file parser"
  bash scripts/fuzz.sh "${KORRIN_FUZZ_SECONDS:-30}" "${KORRIN_FUZZ_RUNS:-10000000}" \
    "${KORRIN_FUZZ_STATION_RUNS:-500000}"
fi
stage_end
echo "All tests passed."
echo "$passed passed, 0 failed"
