#!/usr/bin/env bash
# Draws the dialogs' bitmaps with ImageMagick: the OK and "About..." button glyphs (32x16,
# 16 colours, normal and disabled image side by side, magenta corner = transparent) and the
# about box's picture (61x53, 24 bits). The .bmp files are committed; run this only to change them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The 16 colours of the classic Windows palette, so that the glyphs need no other.
convert xc:'#000000' xc:'#800000' xc:'#008000' xc:'#808000' xc:'#000080' xc:'#800080' \
  xc:'#008080' xc:'#C0C0C0' xc:'#808080' xc:'#FF0000' xc:'#00FF00' xc:'#FFFF00' \
  xc:'#0000FF' xc:'#FF00FF' xc:'#00FFFF' xc:'#FFFFFF' +append "$work/palette.png"

# image FILE DRAW-OPTIONS...: one 16x16 image on magenta, drawn without smoothing.
image() {
  local file="$1"
  shift
  convert -size 16x16 xc:'#FF00FF' +antialias "$@" "$work/$file"
}

# glyph NAME: the normal and disabled images side by side, in the 16 colours.
glyph() {
  convert "$work/normal.png" "$work/disabled.png" +append +dither -remap "$work/palette.png" \
    -type Palette -colors 16 -compress None "BMP3:$here/$1"
}

# A green tick with a dark edge; disabled: engraved grey.
tick="polyline 3,8 6,11 12,4"
image normal.png -fill none -stroke '#008000' -strokewidth 3 -draw "$tick" \
  -stroke '#00FF00' -strokewidth 1 -draw "$tick"
image disabled.png -fill none -stroke '#FFFFFF' -strokewidth 2 -draw 'polyline 4,9 7,12 13,5' \
  -stroke '#808080' -draw "$tick"
glyph OkGlyph.bmp

# The sun with an orbit and a planet; disabled: the same shapes engraved in grey.
image normal.png -fill none -stroke '#000080' -draw 'ellipse 8,8 7,4 0,360' \
  -stroke '#808000' -fill '#FFFF00' -draw 'circle 8,8 8,11' \
  -stroke '#000080' -fill '#0000FF' -draw 'circle 13,5 13,6.5'
image disabled.png -fill none -stroke '#FFFFFF' -draw 'ellipse 9,9 7,4 0,360' \
  -stroke '#808080' -draw 'ellipse 8,8 7,4 0,360' -fill '#C0C0C0' -draw 'circle 8,8 8,11' \
  -draw 'circle 13,5 13,6.5'
glyph AboutGlyph.bmp

# The about picture: the sun with its glow, three orbits and planets, stars; drawn four
# times larger and scaled down for smooth edges.
convert -size 244x212 xc:'#000014' \
  -fill '#FFFFFF' -draw 'point 12,20' -draw 'point 40,190' -draw 'point 200,24' -draw 'point 228,170' \
  -draw 'circle 150,14 150,15.5' -draw 'circle 20,120 20,121.5' -draw 'circle 232,96 232,97.5' \
  -fill none -strokewidth 2 -stroke '#3A4A78' -draw 'ellipse 122,106 52,30 0,360' \
  -draw 'ellipse 122,106 82,48 0,360' -draw 'ellipse 122,106 112,70 0,360' \
  -stroke none -fill '#FF9A00' -draw 'circle 122,106 122,140' \
  -fill '#FFD400' -draw 'circle 122,106 122,134' -fill '#FFF3A0' -draw 'circle 112,96 112,108' \
  -fill '#4FA8FF' -draw 'circle 174,100 174,109' -fill '#E0502A' -draw 'circle 62,138 62,146' \
  -fill '#D8B878' -draw 'circle 200,150 200,162' -fill '#9ED6B0' -draw 'circle 48,64 48,70' \
  -resize 61x53\! -type TrueColor -compress None "BMP3:$here/About.bmp"
