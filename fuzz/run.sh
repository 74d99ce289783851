#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each in turn.
#   fuzz/run.sh [seconds] [target...]   default: 20 seconds over all targets
#   FUZZ_RUNS=10000000 fuzz/run.sh 0 [target...]   a long run: that many inputs each
# The seconds are the whole budget, shared by the targets. Each starts from
# its committed seed corpus (fuzz/corpus/<target>) and fails on any finding;
# new inputs go to build/fuzz/corpus, not into the repository. The
# properties of known faults (below) must still fail on their seeds: once
# one passes, its fault is mended and its line here should go.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-20}
shift || true
targets=("$@")
# Every target of fuzz/targets.txt, which the build reads too.
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < fuzz/targets.txt

# target:property:seed — known faults, each failing on its seed until mended.
known=(
  "command_line:program-name-unquoted:compiler-in-program-files.txt"
)

build=build/fuzz
# Configured every time: a target added since the last run is unknown to an
# older build folder until it is.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target $(printf 'fuzz_%s ' "${targets[@]}") >/dev/null

per=$(( seconds / ${#targets[@]} ))
[ "$per" -ge 1 ] || per=1
budget=(-max_total_time="$per")
[ -z "${FUZZ_RUNS:-}" ] || budget=(-runs="$FUZZ_RUNS")
status=0
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  mkdir -p "$work" "$build/findings/$t"
  # Findings and logs stay in the build folder; the seeds are read only.
  # Inputs stay within 1 KiB: longer than any path, and dozens of list
  # lines, which the readers take one at a time; each run's cost grows with
  # the input's length. The project reader and the folder tree build strings
  # for every path of every line, so they take 256 bytes (a dozen lines):
  # that reaches every edge 1 KiB reached, about seven times as fast.
  max_len=1024
  case $t in project_files | folder_tree) max_len=256 ;; esac
  # Allocation stacks are left out of reports for speed: rerun a finding
  # with its input to see them.
  if ASAN_OPTIONS=detect_leaks=1:malloc_context_size=0 UBSAN_OPTIONS=print_stacktrace=1 \
     "$build/fuzz_$t" "${budget[@]}" -max_len="$max_len" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$t/" "$work" "fuzz/corpus/$t" >"$build/$t.log" 2>&1; then
    echo "fuzz $t: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$t.log" | grep -o '[0-9]*$') runs, no finding"
  else
    echo "fuzz $t: FINDING (inputs in $build/findings/$t/)"
    grep -E 'property failed|ERROR: |runtime error' "$build/$t.log" | head -5 || true
    status=1
  fi
done

for k in "${known[@]}"; do
  IFS=: read -r t property seed <<<"$k"
  [[ " ${targets[*]} " == *" $t "* ]] || continue
  if TOLVANE_FUZZ_KNOWN="$property" "$build/fuzz_$t" -runs=1 "fuzz/corpus/$t/$seed" >"$build/$t.known.log" 2>&1; then
    echo "fuzz $t: known fault '$property' no longer fails: it is mended, remove its line from fuzz/run.sh"
    status=1
  elif grep -q "property failed" "$build/$t.known.log"; then
    echo "fuzz $t: known fault '$property' still fails, as expected"
  else
    echo "fuzz $t: known fault '$property' failed otherwise than by its property"
    status=1
  fi
done
exit $status
