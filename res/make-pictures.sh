#!/usr/bin/env bash
# Draws the program's picture (stacked project sheets and a run mark) and
# writes the icon Tolvane.ico and the splash screen's 172 x 172 TolvaneLogo.bmp.
# Needs ImageMagick. Run from anywhere; the files land beside this script.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 gradient:'#3A78E0-#0B2A6B' \
  \( -size 256x256 xc:none -fill white -draw "roundrectangle 6,6 249,249 44,44" \) \
  -alpha set -compose DstIn -composite -compose over \
  -stroke '#0B1F4A' -strokewidth 5 -fill '#DCE6F6' -draw "rectangle 112,36 210,160" \
  -fill '#EEF3FB' -draw "rectangle 86,60 184,184" \
  -fill white -draw "rectangle 56,86 158,214" \
  -stroke '#2F6BD8' -strokewidth 10 -draw "line 78,116 138,116" -draw "line 78,142 138,142" \
  -draw "line 78,168 116,168" \
  -stroke '#7A3A00' -strokewidth 5 -fill '#F39A1E' -draw "circle 178,186 178,234" \
  -stroke none -fill white -draw "polygon 163,162 163,210 204,186" \
  -depth 8 "$work/picture.png"

convert "$work/picture.png" -define icon:auto-resize=256,48,32,24,16 Tolvane.ico
# 24-bit BMP; the transparent corners become magenta, which the splash screen
# replaces with the window's colour.
convert "$work/picture.png" -resize 172x172 -channel A -threshold 50% +channel \
  -background '#FF00FF' -alpha remove -alpha off -type TrueColor BMP3:TolvaneLogo.bmp
