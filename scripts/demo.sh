#!/usr/bin/env bash
# The demo command: installs what is missing, builds, prepares a small demo
# folder of projects and starts Tolvane on it with the compiler stand-in.
# Press F12 in the window for a real run with one failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
cmake --build build/win -j "$(nproc)" --target Tolvane VBStandIn

source scripts/display.sh
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
start_display build/win
bash scripts/wineprefix.sh build/win/wineprefix
export WINEPREFIX="$root/build/win/wineprefix" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

demo="$root/demo"
rm -rf "$demo"
mkdir -p "$demo/app" "$demo/projects"
cp build/win/bin/Tolvane.exe build/win/bin/ReadMe.txt "$demo/app/"
cp build/win/bin/VBStandIn.exe "$demo/app/VB6StandIn.exe" 2>/dev/null || cp build/win/bin/VBStandIn.exe "$demo/app/"
standin=$(ls "$demo/app"/VB*.exe | head -n 1)

winpath() { winepath -w "$1" 2>/dev/null; }

# Writes text given in UTF-8 as a Shift-JIS file with CR LF line ends.
write_sjis() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932 > "$1"; }

# project <folder> <name> [missing]: a small project; "missing" names a form that is not there.
project() {
  local dir="$demo/projects/$1" name=$2 missing=${3:-}
  mkdir -p "$dir"
  printf 'VERSION 5.00\nBegin VB.Form frmMain\nEnd\n' | write_sjis "$dir/frmMain.frm"
  printf 'Attribute VB_Name = "basMain"\nSub Main()\nEnd Sub\n' | write_sjis "$dir/basMain.bas"
  {
    echo 'Type=Exe'
    echo 'Form=frmMain.frm'
    echo 'Module=basMain; basMain.bas'
    [ -n "$missing" ] && echo "Form=$missing"
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
  echo "EXE=$(winpath "$standin")"
  echo "PREV_List=$(winpath "$demo/デモ.clt")"
} | write_sjis "$demo/app/Tolvane.ini"

echo "demo: projects in $demo/projects, list $demo/デモ.clt"
echo "demo: starting Tolvane (press F12 to build; F11 stops)"
if [ "$headless" -eq 1 ]; then
  wine "$demo/app/Tolvane.exe" &
  app=$!
  sleep 8
  mkdir -p docs/screenshots
  import -display "$DISPLAY" -window root "$demo/screenshot.png" && echo "demo: no display was set; screenshot at $demo/screenshot.png"
  kill "$app" 2>/dev/null || true
  wineserver -k || true
  stop_display
else
  exec wine "$demo/app/Tolvane.exe"
fi
