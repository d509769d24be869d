#!/usr/bin/env bash
# Draws the program icon (res/Velorium.ico: 16, 32 and 48 pixels) with ImageMagick.
# The .ico is committed; run this only to change the picture.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 32 48; do
  convert -size 48x48 xc:'#000010' \
    -fill none -stroke '#404860' -strokewidth 1 -draw "ellipse 24,24 20,12 0,360" \
    -stroke none -fill '#FFD800' -draw "circle 24,24 24,31" -fill '#FFF6A0' -draw "circle 22,22 22,25" \
    -fill '#3AA0FF' -draw "circle 42,20 42,23.5" -fill '#FF4020' -draw "circle 9,30 9,32.5" \
    -fill '#40C060' -draw "circle 30,35 30,37" \
    -resize "${size}x${size}" -depth 8 "$work/icon$size.png"
done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$here/Velorium.ico"
