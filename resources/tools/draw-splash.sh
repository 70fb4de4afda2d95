#!/usr/bin/env bash
# Draws the title picture of the splash window and the About box into resources/res/splash.jpg:
# 529 x 169, the size the splash window is created at, a blue gradient with the program's name.
# Needs ImageMagick's convert and the DejaVu fonts. The picture is kept in the repository, so
# building the program does not need this script.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/res/splash.jpg
convert=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on the PATH
[ -x "$convert" ] || convert=convert
"$convert" -size 169x529 gradient:'#0b2a5b'-'#3f7fc4' -rotate -90 \
    \( -size 529x169 radial-gradient:'#ffffff50'-'#ffffff00' \) -compose over -composite \
    -fill '#ffffff30' -draw 'rectangle 40,128 489,129' \
    -font DejaVu-Serif-Bold -pointsize 72 -gravity center \
    -fill '#00000060' -annotate +3-5 'Tessarine' \
    -fill '#f4f7fb' -annotate +0-8 'Tessarine' \
    -font DejaVu-Sans -pointsize 15 -fill '#dbe6f3' -gravity south -annotate +0+14 'Orvanel' \
    -strip -interlace none -sampling-factor 2x2 -quality 90 "$out"
