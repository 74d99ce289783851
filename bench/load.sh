#!/usr/bin/env bash
# A long session: 100 runs of 20 builds (a quarter failing) in one Tolvane.exe,
# with its memory, handles, open files and windows after each run. Fails when
# the counts grow, or memory grows beyond what the log's text takes.
#   bench/load.sh [build-folder]      default: build/bench-win
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/bench-win}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
fi
cmake --build "$build" -j2 --target bench_load

source scripts/display.sh
start_display "$build"
trap stop_display EXIT

"$build/wine-run" "$build/bin/bench_load.exe"
