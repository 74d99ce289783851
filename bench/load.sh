#!/usr/bin/env bash
# A long session: 100 runs of 20 builds (a quarter failing) in one Tolvane.exe,
# with its memory, handles, open files and windows after each run. Fails when
# the counts grow, or memory grows beyond what the log's text takes.
#   bench/load.sh [build-folder]      default: build/bench-win
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/bench-win}

source bench/prepare.sh
prepare_bench "$build" bench_load

"$build/wine-run" "$build/bin/bench_load.exe"
