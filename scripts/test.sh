#!/usr/bin/env bash
# The test command: installs what is missing, builds everything, runs every test.
#   native build: the Windows-free core under AddressSanitizer and UBSan
#   fuzz smoke: each libFuzzer target for a few seconds from its seed corpus (fuzz/run.sh)
#   Windows build: the program, the compiler stand-in and all tests, under Wine on Xvfb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
cmake --build build/win -j "$jobs"

source scripts/display.sh
start_display build/win
trap stop_display EXIT

bash scripts/wineprefix.sh build/win/wineprefix
# The full-disk drill saves onto a small tmpfs mapped as drive T: (mounting needs root).
small=build/win/smalldisk
if [ "$(id -u)" -eq 0 ] && { mountpoint -q "$small" || { mkdir -p "$small" && mount -t tmpfs -o size=256k tmpfs "$small"; }; }; then
  ln -sfn "$root/$small" build/win/wineprefix/dosdevices/t:
  export TOLVANE_SMALL_DISK='T:\'
  trap 'stop_display; umount "$root/$small" 2>/dev/null || true' EXIT
  echo "full-disk drill: drive T: is a 256 KiB tmpfs"
else
  echo "full-disk drill: skipped (mounting a small tmpfs needs root)"
fi
# One Wine session for the whole run, on this display: end any older one first.
export WINEPREFIX="$root/build/win/wineprefix"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p 900
# Start the session's own processes now, outside ctest: started by a test
# program they would inherit its output pipe and ctest would wait on them.
build/win/wine-run cmd /c exit >/dev/null 2>&1 </dev/null || true

status=0
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1
bash fuzz/run.sh 20 || status=1
(cd build/win && ctest --output-on-failure -j "$jobs") || status=1
wineserver -k 2>/dev/null || true
exit $status
