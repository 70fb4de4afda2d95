#!/bin/sh
# Draws the illustrations of the rename dialogs, of the folder deletion question and of the
# slide-show options into resources/res/ (112 x 220, 24 bits, like the other dialog illustrations).
# Needs ImageMagick.
set -e
OUT="$(dirname "$0")/../res"

# A picture card whose name label is being rewritten, on a blue ground.
convert -size 112x220 gradient:'#dfe9f7-#6f94c9' \
    -fill white -stroke '#203040' -strokewidth 2 -draw 'rectangle 16,40 96,120' \
    -fill '#8fc7ef' -stroke none -draw 'rectangle 20,44 92,96' \
    -fill '#3f8f3f' -draw 'polygon 20,96 44,66 62,84 74,72 92,96' \
    -fill '#f2d04a' -draw 'circle 78,56 84,56' \
    -fill white -stroke '#203040' -strokewidth 1 -draw 'rectangle 16,136 96,156' \
    -fill '#203040' -stroke none -draw 'rectangle 22,143 60,149' \
    -fill '#c03a2b' -draw 'rectangle 64,140 67,152' \
    -fill '#e0a030' -stroke '#5a3a10' -strokewidth 1 -draw 'polygon 70,188 96,162 102,168 76,194' \
    -fill '#5a3a10' -draw 'polygon 70,188 76,194 66,198' \
    -type TrueColor "BMP3:$OUT/rename-picture.bmp"

# A folder crossed out in red, on a warm ground.
convert -size 112x220 gradient:'#fbe7c6-#d9822b' \
    -fill '#f5c542' -stroke '#6b4a12' -strokewidth 2 -draw 'polygon 14,70 44,70 52,80 98,80 98,150 14,150' \
    -fill '#f9d86b' -draw 'polygon 14,90 98,90 98,150 14,150' \
    -stroke '#c0281c' -strokewidth 9 -draw 'line 22,60 92,160' -draw 'line 92,60 22,160' \
    -type TrueColor "BMP3:$OUT/delete-folder.bmp"

# A screen on its stand showing a landscape slide, two more slides waiting beside it, on a dusk ground.
convert -size 112x220 gradient:'#e8e4f4-#4b3f7f' \
    -fill '#f4f4f4' -stroke '#303030' -strokewidth 2 -draw 'rectangle 12,30 100,100' \
    -fill '#8fc7ef' -stroke none -draw 'rectangle 18,36 94,80' \
    -fill '#3f8f3f' -draw 'polygon 18,80 40,56 56,70 70,58 94,80' \
    -fill '#f2d04a' -draw 'circle 80,46 85,46' \
    -fill '#303030' -draw 'rectangle 54,100 58,150' -draw 'polygon 56,146 36,176 40,178 56,154 72,178 76,176' \
    -fill white -stroke '#303030' -strokewidth 1 -draw 'rectangle 14,184 50,208' -draw 'rectangle 62,184 98,208' \
    -fill '#c98a4a' -stroke none -draw 'rectangle 18,188 46,204' \
    -fill '#5a8fd0' -draw 'rectangle 66,188 94,204' \
    -type TrueColor "BMP3:$OUT/diaporama.bmp"
