# Sourced by the scripts: gives Wine a display, a virtual one when none is set.
# start_display <build-folder> writes the display's name to <build-folder>/display.
_tolvane_xvfb_pid=""

start_display() {
  local build=$1
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "$DISPLAY" > "$build/display"
    return
  fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  _tolvane_xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  echo "$DISPLAY" > "$build/display"
}

stop_display() {
  [ -n "$_tolvane_xvfb_pid" ] && kill "$_tolvane_xvfb_pid" 2>/dev/null || true
}
