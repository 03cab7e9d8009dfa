#!/usr/bin/env bash
# Installs what is missing, builds Korrin and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORRIN_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target korrin korrin-report
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under xvfb-run (nothing will be visible)." >&2
  exec xvfb-run -a build/release/app/korrin "$@"
fi
exec build/release/app/korrin "$@"
