#!/bin/sh
# Regenerates the program's pictures with ImageMagick. The pictures are committed; run
# this only after changing it. Fonts: Liberation and DejaVu from Debian.
set -eu
cd "$(dirname "$0")"

# Window icon, 48 x 48, 24-bit: a script page with a run arrow on the editor's pink.
convert -size 48x48 xc:'rgb(255,192,255)' \
    -fill 'rgb(255,255,255)' -stroke 'rgb(96,32,112)' -strokewidth 2 \
    -draw 'roundrectangle 7,4 37,43 3,3' \
    -stroke 'rgb(96,32,112)' -strokewidth 2 \
    -draw 'line 12,12 30,12' -draw 'line 12,18 26,18' -draw 'line 16,24 31,24' -draw 'line 12,30 22,30' \
    -stroke 'rgb(0,128,0)' -fill 'rgb(64,200,64)' -strokewidth 1 \
    -draw 'polygon 27,29 44,37 27,45' \
    -type TrueColor -depth 8 -define png:color-type=2 icon48.png
