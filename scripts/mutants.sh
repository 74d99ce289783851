#!/usr/bin/env bash
# Applies deliberate faults to the portable core one at a time and runs the
# logic tests against each: a fault the tests do not notice is a gap in them.
#   scripts/mutants.sh [pattern]   only the faults whose description matches
# Uses its own native build (build/mutants) and restores every file it touches.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=build/mutants
only=${1:-}

faults=$(grep -v '^#' scripts/mutants.list)

restore() {
  [ -n "${saved:-}" ] && [ -f "$saved" ] && cp "$saved" "$target" && rm -f "$saved"
  saved=""
}
trap restore EXIT INT TERM

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 2
cmake --build "$build" --target logic_tests -j "$(nproc)" >/dev/null || { echo "the unchanged core does not build"; exit 2; }
"$build/logic_tests" --gtest_brief=1 >/dev/null 2>&1 || { echo "the logic tests fail without any fault"; exit 2; }

caught=0 total=0 invalid=0
while IFS='~' read -r -u 3 file from to what; do
  [ -z "$file" ] && continue
  [ -n "$only" ] && [[ "$what" != *"$only"* ]] && continue
  target=$(find src -name "$file" | head -n 1)
  if [ -z "$target" ]; then echo "missing    $file: $what"; invalid=$((invalid + 1)); continue; fi
  saved=$(mktemp)
  cp "$target" "$saved"
  FROM="$from" TO="$to" perl -0pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$target"
  if cmp -s "$target" "$saved"; then
    echo "no match   $file: $what"; invalid=$((invalid + 1)); restore; continue
  fi
  if ! cmake --build "$build" --target logic_tests -j "$(nproc)" >/dev/null 2>&1; then
    echo "no build   $file: $what"; invalid=$((invalid + 1)); restore; continue
  fi
  total=$((total + 1))
  if timeout 300 "$build/logic_tests" --gtest_brief=1 >/dev/null 2>&1; then
    echo "survived   $file: $what"
  else
    echo "caught     $file: $what"; caught=$((caught + 1))
  fi
  restore
done 3<<< "$faults"
# Leave the build matching the sources again.
cmake --build "$build" --target logic_tests -j "$(nproc)" >/dev/null 2>&1
[ "$invalid" -gt 0 ] && echo "faults that could not be applied: $invalid"
echo "mutants caught: $caught/$total"
