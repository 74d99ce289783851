#!/usr/bin/env bash
# Builds the benchmark and runs it under Wine on a (virtual) display.
#   bench/run.sh [build-folder]      default: build/bench-win
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/bench-win}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
fi
cmake --build "$build" -j2 --target bench_run bench_window VBStandIn Tolvane

source scripts/display.sh
start_display "$build"
trap stop_display EXIT

status=0
"$build/wine-run" "$build/bin/bench_run.exe" || status=1
"$build/wine-run" "$build/bin/bench_window.exe" || status=1
exit $status
