#!/usr/bin/env bash
# Builds the benchmark and runs it under Wine on a (virtual) display.
#   bench/run.sh [build-folder]      default: build/bench-win
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/bench-win}

source bench/prepare.sh
prepare_bench "$build" bench_run bench_window VBStandIn Tolvane

status=0
"$build/wine-run" "$build/bin/bench_run.exe" || status=1
"$build/wine-run" "$build/bin/bench_window.exe" || status=1
exit $status
