#!/usr/bin/env bash
# Makes the release archive dist/Tolvane-<version>.zip holding exactly
# Tolvane.exe and ReadMe.txt. Builds the program first when needed.
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
cmake --build "$build" -j 2 --target Tolvane

exe="$build/bin/Tolvane.exe"
readme="$build/bin/ReadMe.txt"
for f in "$exe" "$readme"; do
  [ -f "$f" ] || { echo "release: $f is missing" >&2; exit 1; }
done

# The program must run without the MinGW runtime DLLs beside it.
if i686-w64-mingw32-objdump -p "$exe" | grep -iE 'DLL Name: *(libgcc|libstdc|libwinpthread)'; then
  echo "release: Tolvane.exe depends on a MinGW runtime DLL" >&2
  exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$readme" "$stage/"
# Debug information stays in the build folder, not in the archive.
i686-w64-mingw32-strip --strip-debug "$stage/Tolvane.exe"
(cd "$stage" && zip -q -X "release.zip" Tolvane.exe ReadMe.txt)

mkdir -p dist
target="dist/Tolvane-$version.zip"
mv -f "$stage/release.zip" "$target"

listed=$(unzip -Z1 "$target" | sort | tr '\n' ' ')
[ "$listed" = "ReadMe.txt Tolvane.exe " ] || { echo "release: unexpected contents: $listed" >&2; exit 1; }
echo "release: $target ($(stat -c %s "$target") bytes)"
