# Sourced by the benchmark scripts: configures and builds the given targets
# in the build folder, and gives Wine a (virtual) display.
#   prepare_bench <build-folder> <target...>
prepare_bench() {
  local build=$1
  shift
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
  fi
  cmake --build "$build" -j2 --target "$@"
  source scripts/display.sh
  start_display "$build"
  trap stop_display EXIT
}
