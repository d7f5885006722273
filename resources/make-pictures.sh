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
    -type TrueColor -depth 8 -define png:color-type=2 -define png:exclude-chunks=date,time icon48.png

# The about-the-author dialog: the team has no photograph, so a portrait placeholder of
# the project's initials on a colour field (JPEG, 263 x 310), a banner (GIF, 468 x 60)
# behind the dialog's title, and the dialog's own icon (32 x 32).
convert -size 263x310 gradient:'rgb(96,32,112)'-'rgb(200,96,200)' \
    -fill 'rgb(255,236,255)' -draw 'circle 131,118 131,48' \
    -draw 'roundrectangle 46,200 216,330 60,60' \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf -pointsize 64 -fill 'rgb(96,32,112)' -gravity north -annotate +0+80 'VC' \
    -quality 90 portrait.jpg
convert -size 468x60 gradient:'rgb(255,255,200)'-'rgb(230,200,60)' \
    -fill 'rgba(128,128,0,0.35)' -draw 'polygon 0,60 60,0 90,0 30,60' -draw 'polygon 380,60 440,0 468,0 468,20 428,60' \
    -fill 'rgba(255,255,255,0.5)' -draw 'rectangle 0,52 468,54' \
    banner.gif
convert -size 32x32 xc:'rgb(255,255,128)' \
    -fill 'rgb(128,128,0)' -draw 'circle 16,11 16,5' -draw 'roundrectangle 6,18 26,34 8,8' \
    -type TrueColor -depth 8 -define png:color-type=2 -define png:exclude-chunks=date,time programmer32.png
