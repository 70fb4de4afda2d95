#!/usr/bin/env bash
# Bitmap files of every depth and header kind written by ImageMagick, each with a PPM of its pixels
# as ImageMagick decodes them, for the picconv tests. $1: the output folder.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
# Made once per build folder; bump the stamp when the list below changes.
stamp=.bmp-done-v1
[ -f "$stamp" ] && exit 0
src=source.ppm
convert -seed 7 -size 37x23 plasma:fractal -depth 8 "$src"

variant() { # name, ImageMagick's BMP flavour, then the convert options
    local name=$1 format=$2
    shift 2
    convert "$src" "$@" "$format:$name.bmp"
    convert "$name.bmp" -alpha off -depth 8 "$name.ppm"
}
variant rgb24 BMP3 -type truecolor
variant core24 BMP2 -type truecolor
variant core8 BMP2 -colors 200 -type palette
variant p1 BMP3 -monochrome -type bilevel
variant p4 BMP3 -colors 16 -type palette
variant p8 BMP3 -colors 200 -type palette -compress none
variant rle8 BMP3 -colors 200 -type palette -compress RLE
variant v5argb BMP -alpha set -channel A -evaluate set 60% +channel
variant v5rgb565 BMP -define bmp:subtype=RGB565
variant v5rgb555 BMP -define bmp:subtype=RGB555
variant v5argb4444 BMP -alpha set -define bmp:subtype=ARGB4444
variant v5rgb24 BMP -type truecolor
variant v5p8 BMP -colors 100 -type palette -compress none
variant v5rle8 BMP -colors 100 -type palette -compress RLE
variant core1 BMP2 -monochrome -type bilevel
touch "$stamp"
