#!/usr/bin/env bash
# Makes the release archive dist/Tolvane-<version>.zip holding exactly
# Tolvane.exe, TolvaneCmd.exe and ReadMe.txt. Builds the programs first when needed.
#   scripts/release.sh [build-folder]     (default: build/win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

version=$(sed -n 's/^project(Tolvane VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
build=${1:-build/win}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
fi
cmake --build "$build" -j 2 --target Tolvane TolvaneCmd

programs="Tolvane.exe TolvaneCmd.exe"
for f in $programs ReadMe.txt; do
  [ -f "$build/bin/$f" ] || { echo "release: $build/bin/$f is missing" >&2; exit 1; }
done

for exe in $programs; do
  # 32-bit programs that run without the MinGW runtime DLLs beside them.
  if ! i686-w64-mingw32-objdump -f "$build/bin/$exe" | grep -q 'file format pei-i386'; then
    echo "release: $exe is not a 32-bit Windows program" >&2
    exit 1
  fi
  if i686-w64-mingw32-objdump -p "$build/bin/$exe" | grep -iE 'DLL Name: *(libgcc|libstdc|libwinpthread)'; then
    echo "release: $exe depends on a MinGW runtime DLL" >&2
    exit 1
  fi
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for f in $programs ReadMe.txt; do cp "$build/bin/$f" "$stage/"; done
# Debug information stays in the build folder, not in the archive.
for exe in $programs; do i686-w64-mingw32-strip --strip-debug "$stage/$exe"; done
(cd "$stage" && zip -q -X "release.zip" $programs ReadMe.txt)

mkdir -p dist
target="dist/Tolvane-$version.zip"
mv -f "$stage/release.zip" "$target"

listed=$(unzip -Z1 "$target" | LC_ALL=C sort | tr '\n' ' ')
[ "$listed" = "ReadMe.txt Tolvane.exe TolvaneCmd.exe " ] || { echo "release: unexpected contents: $listed" >&2; exit 1; }
echo "release: $target ($(stat -c %s "$target") bytes)"
