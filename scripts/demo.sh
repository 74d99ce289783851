#!/usr/bin/env bash
# The demo command: installs what is missing, builds, prepares a small demo
# folder of projects and starts Tolvane on it with the compiler stand-in.
#
# With a display: Tolvane opens there; press F12 for a run with one failure.
# Without one: Tolvane runs on a virtual display, the script presses F12
# itself, waits for the run to end and saves a screenshot of the result.
#
#   scripts/demo.sh              (build folder: build/win, or $TOLVANE_BUILD)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${TOLVANE_BUILD:-build/win}

bash scripts/setup.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
cmake --build "$build" -j "$(nproc)" --target Tolvane VBStandIn

source scripts/display.sh
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  unset DISPLAY
fi
# A Wine prefix of the demo's own: a Wine session is tied to the display it
# started on, so the demo must not share one with tests on another display.
prefix="$root/$build/demo-wineprefix"
# The build's display file names the display its tests use; it is put back afterwards.
saved_display=$(cat "$build/display" 2>/dev/null || true)
restore() {
  if [ "$headless" -eq 1 ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
  stop_display
  if [ -n "$saved_display" ]; then echo "$saved_display" > "$build/display"; fi
}
start_display "$build"
trap restore EXIT
bash scripts/wineprefix.sh "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

demo="$root/demo"
rm -rf "$demo"
mkdir -p "$demo/app" "$demo/projects"
cp "$build/bin/Tolvane.exe" "$build/bin/ReadMe.txt" "$demo/app/"
# Any name matching the options dialog's mask VB*.EXE will do.
cp "$build/bin/VBStandIn.exe" "$demo/app/VB6StandIn.exe"

winpath() { winepath -w "$1" 2>/dev/null; }

# Writes text given in UTF-8 as a Shift-JIS file with CR LF line ends.
write_sjis() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932 > "$1"; }

# project <folder> <name> [missing]: a small project that takes a moment to
# build; "missing" names a form that is not there, so the build fails.
# The stand-in's own key StandInDelayMs is ignored by VB6 itself.
project() {
  local dir="$demo/projects/$1" name=$2 missing=${3:-}
  mkdir -p "$dir"
  printf 'VERSION 5.00\nBegin VB.Form frmMain\nEnd\n' | write_sjis "$dir/frmMain.frm"
  printf 'Attribute VB_Name = "basMain"\nSub Main()\nEnd Sub\n' | write_sjis "$dir/basMain.bas"
  {
    echo 'Type=Exe'
    echo 'Form=frmMain.frm'
    echo 'Module=basMain; basMain.bas'
    if [ -n "$missing" ]; then echo "Form=$missing"; fi
    echo 'Startup="Sub Main"'
    echo "ExeName32=\"$name.exe\""
    echo "Name=\"$name\""
    echo 'StandInDelayMs=1500'
  } | write_sjis "$dir/$name.vbp"
  echo "$dir/$name.vbp"
}

p1=$(project "Accounting" "Ledger")
p2=$(project "Sales Reports" "Monthly Report")
p3=$(project "在庫管理" "Inventory")
p4=$(project "在庫管理/帳票 出力" "PrintForms" "frmPreview.frm")
p5=$(project "Tools" "Backup")

{
  for p in "$p1" "$p2" "$p3" "$p4" "$p5"; do printf 'True\t%s\n' "$(winpath "$p")"; done
  echo
} | write_sjis "$demo/デモ.clt"

{
  echo '[COMMON]'
  echo "EXE=$(winpath "$demo/app/VB6StandIn.exe")"
  echo "PREV_List=$(winpath "$demo/デモ.clt")"
} | write_sjis "$demo/app/Tolvane.ini"

echo "demo: projects in $demo/projects, list $demo/デモ.clt"
if [ "$headless" -eq 0 ]; then
  echo "demo: starting Tolvane (press F12 to build; F11 stops)"
  wine "$demo/app/Tolvane.exe"
  exit 0
fi

# The program's visible top-level windows on the virtual display.
tolvane_windows() { xdotool search --onlyvisible --classname '^tolvane\.exe$' 2>/dev/null || true; }

# wait_for <seconds> <command...>: true once the command succeeds.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

main_window() {
  local w
  for w in $(tolvane_windows); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = Tolvane ]; then
      echo "$w"
      return
    fi
  done
}
has_main() { [ -n "$(main_window)" ]; }
# The closing notice is the program's second window once the run has ended.
has_notice() { [ "$(tolvane_windows | wc -l)" -ge 2 ]; }

echo "demo: no display was set; running on the virtual display $DISPLAY"
(cd "$demo/app" && exec wine Tolvane.exe) &
app=$!
status=0
if ! wait_for 120 has_main; then
  echo "demo: Tolvane's window did not appear" >&2
  status=1
else
  win=$(main_window)
  # Past the opening animation, with the list loaded.
  sleep 1
  xdotool key --window "$win" F12
  if wait_for 180 has_notice; then
    sleep 1
    shot="$demo/screenshot.png"
    eval "$(xdotool getwindowgeometry --shell "$win")"
    # The main window with the notice over it.
    import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
    echo "demo: run finished; screenshot at $shot"
    find "$demo/projects" -name '*.exe' | sort | sed 's|^|demo: built |'
  else
    echo "demo: the run did not finish" >&2
    status=1
  fi
fi
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
exit $status
