#!/usr/bin/env bash
# Draws the program's icon and toolbar bitmaps into src/res/. The results are committed; run this
# only to change them (needs ImageMagick and icoutils: apt-get install imagemagick icoutils).
# Toolbar bitmaps are 48x48, 24-bit, on white: white is the image list's transparent colour, so the
# glyphs use an off-white instead.
set -euo pipefail
cd "$(dirname "$0")/../../src/res"
IM=/usr/bin/convert
glyph=#fcfcfc
font=DejaVu-Sans-Bold

disc() {  # disc <colour> <out> <draw args...>
  local colour=$1 out=$2
  shift 2
  $IM -size 48x48 xc:white -fill "$colour" -stroke "$colour" -draw 'circle 24,24 24,3' "$@" \
    -type TrueColor BMP3:"$out"
}

disc '#2e7d32' connect.bmp -fill $glyph -stroke $glyph -draw 'polygon 18,13 18,35 36,24'
disc '#c62828' disconnect.bmp -fill $glyph -stroke $glyph -draw 'rectangle 15,15 33,33'
disc '#546e7a' options.bmp -fill none -stroke $glyph -strokewidth 5 -draw 'circle 24,24 24,15' \
  -strokewidth 4 -draw 'line 24,8 24,13' -draw 'line 24,35 24,40' -draw 'line 8,24 13,24' \
  -draw 'line 35,24 40,24' -draw 'line 13,13 16,16' -draw 'line 32,32 35,35' \
  -draw 'line 13,35 16,32' -draw 'line 32,16 35,13'
disc '#1565c0' help.bmp -fill $glyph -stroke none -font $font -pointsize 30 -gravity center \
  -annotate +0+1 '?'
disc '#00838f' about.bmp -fill $glyph -stroke none -font $font -pointsize 30 -gravity center \
  -annotate +0+1 'i'
disc '#6d4c41' exit.bmp -fill none -stroke $glyph -strokewidth 5 -draw 'line 16,16 32,32' \
  -draw 'line 32,16 16,32'

# The program's icon: a hand-held terminal with a screen and a keypad, 16, 32 and 48 pixels.
for s in 16 32 48; do
  $IM -size 48x48 xc:none -fill '#263238' -draw 'roundrectangle 10,2 38,46 5,5' \
    -fill '#80deea' -draw 'rectangle 14,7 34,22' \
    -fill '#2e7d32' -draw 'polygon 19,17 24,10 29,17' \
    -fill '#eceff1' -draw 'rectangle 14,27 19,31' -draw 'rectangle 22,27 27,31' \
    -draw 'rectangle 30,27 34,31' -draw 'rectangle 14,35 19,39' -draw 'rectangle 22,35 27,39' \
    -draw 'rectangle 30,35 34,39' -resize ${s}x${s} PNG32:icon-$s.png
done
icotool -c -o Morvane.ico icon-16.png icon-32.png icon-48.png
rm -f icon-16.png icon-32.png icon-48.png
