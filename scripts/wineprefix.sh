#!/usr/bin/env bash
# Prepares a private Wine prefix that behaves like a Japanese Windows desktop.
# Usage: wineprefix.sh <prefix-folder>. Does nothing when the prefix is ready.
set -euo pipefail
prefix=$(realpath -m "$1")
stamp="$prefix/.tolvane-ready-4"
[ -f "$stamp" ] && exit 0

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
mkdir -p "$prefix"
echo "wineprefix: preparing $prefix"
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true

reg=$(mktemp --suffix=.reg)
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "MS UI Gothic" "ＭＳ ゴシック" "MS Gothic" "ＭＳ Ｐゴシック" "MS PGothic" "MS Shell Dlg" \
              "MS Shell Dlg 2" "Tahoma" "Segoe UI" "MS Sans Serif" "Meiryo UI" "System"; do
    printf '"%s"="IPAGothic"\r\n' "$face"
  done
  for face in "ＭＳ 明朝" "MS Mincho" "ＭＳ Ｐ明朝"; do
    printf '"%s"="IPAMincho"\r\n' "$face"
  done
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="N"\r\n'
  # A new prefix knows the text-file type but does not tie .txt to it.
  printf '\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@="txtfile"\r\n"Content Type"="text/plain"\r\n'
  # No crash dialog: a crashing test program must fail, not wait for a click.
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
} | iconv -f UTF-8 -t UTF-16 > "$reg"
wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
# Wine draws the caption buttons with Marlett, which it finds only among the
# prefix's own fonts: without it they show as the letters "0 1 r".
for marlett in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
  if [ -f "$marlett" ]; then cp "$marlett" "$prefix/drive_c/windows/Fonts/"; break; fi
done
wineserver -w || true
rm -f "$reg"
touch "$stamp"
