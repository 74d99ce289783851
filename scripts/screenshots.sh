#!/usr/bin/env bash
# Pictures of the program's windows for people to look at. Builds, runs the
# window tests (and the whole-program tests when they exist) with screenshots
# on, and turns every picture they take into a PNG file in docs/screenshots/.
#   scripts/screenshots.sh [build-folder]      (build/win by default)
# Test failures are reported in the exit status; the pictures taken are kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/win}

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
# Everything: the tests also drive the program and the compiler stand-in.
cmake --build "$build" -j "$(nproc)"

source scripts/display.sh
# A display the build already uses (written by an earlier run) is used again.
if [ -z "${DISPLAY:-}" ] && [ -f "$build/display" ] && xdpyinfo -display "$(cat "$build/display")" >/dev/null 2>&1; then
  export DISPLAY="$(cat "$build/display")"
fi
start_display "$build"
# Wine's own processes leave before the display does.
finish() {
  WINEPREFIX="$(cd "$build" && pwd)/wineprefix" timeout 60 wineserver -w || true
  stop_display
}
trap finish EXIT

# One folder per build, so that two runs at once do not mix their pictures.
shots="$root/screenshots/tmp/$(basename "$build")"
rm -rf "$shots"
mkdir -p "$shots" docs/screenshots
# The tests are Windows programs: they are told the folder by its Windows name.
winshots=$("$build/wine-run" winepath -w "$shots" | tr -d '\r')

status=0
echo "screenshots: running program_tests"
TOLVANE_SCREENSHOTS="$winshots" "$build/wine-run" "$build/bin/program_tests.exe" --gtest_brief=1 || status=1

count=0
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  name=$(basename "${bmp%.bmp}")
  # No dates inside, so an unchanged window gives an unchanged file.
  convert "$bmp" -strip -define png:exclude-chunks=date,time "docs/screenshots/$name.png"
  count=$((count + 1))
done
rm -rf "$shots"
echo "screenshots: $count picture(s) in docs/screenshots/"
exit $status
