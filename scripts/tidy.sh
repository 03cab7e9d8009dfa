#!/usr/bin/env bash
# Runs clang-tidy with the checks in .clang-tidy over the program's own
# sources (core, io, ui, ui/qt, assess, station, app, tests, bench and the fuzz targets) and
# fails on any finding.  The build folder (build/tidy by default) only needs
# its compile commands and the headers moc writes: nothing is compiled.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KORRIN_TIDY_BUILD_DIR:-build/tidy}
jobs=${KORRIN_TIDY_JOBS:-$(nproc)}

# clang-tidy 22 (scripts/deps.sh installs it where the archive has it) no
# longer runs the checks over the declarations of Qt's, GoogleTest's and the
# standard library's headers: it takes half the time of version 14.  Any
# other version finds what the checks in .clang-tidy find, more slowly.
tidy=$(command -v clang-tidy-22 || command -v clang-tidy || command -v clang-tidy-14)
runner=$(command -v run-clang-tidy-22 || command -v run-clang-tidy || command -v run-clang-tidy-14)
echo "clang-tidy: $("$tidy" --version | sed -n 's/.*LLVM version //p')"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  >/dev/null
# The Qt sources and tests include what moc generates from them.
mapfile -t autogen < <(ninja -C "$build" -t targets all | sed -n 's/^\([A-Za-z0-9_]*_autogen\): phony$/\1/p')
if [ "${#autogen[@]}" -gt 0 ]; then
  cmake --build "$build" -j "$jobs" --target "${autogen[@]}" >/dev/null
fi

status=0
# Every source of the compile commands under the program's folders; the
# generated ones (moc, rcc) live in the build folder and are left out.
root=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
"$runner" -clang-tidy-binary "$tidy" -p "$build" -j "$jobs" -quiet \
  "^$root/(core|io|ui|assess|station|moon|nearfield|app|tests|bench)/" 2> >(grep -v ' warnings\? generated\.$' >&2) || status=1

# The fuzz targets are built only with clang; check their sources on their own.
for source in fuzz/FuzzLoad.cpp fuzz/FuzzRecord.cpp fuzz/FuzzStation.cpp fuzz/FuzzEvaluate.cpp; do
  "$tidy" --quiet "$source" -- -std=c++20 -I. -Wall -Wextra -Wpedantic \
    2> >(grep -v ' warnings\? generated\.$' >&2) || status=1
done

if [ "$status" -ne 0 ]; then
  echo "clang-tidy: findings above" >&2
  exit 1
fi
echo "clang-tidy: no findings"
