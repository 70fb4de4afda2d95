#!/usr/bin/env bash
# Reference decodes of the JPEG, PNG, GIF and TIFF test pictures, made by other tools (djpeg and
# cjpeg of the host's libjpeg-turbo, ImageMagick), and a few JPEG variants the reader tests need.
# Usage: prepare-libformats.sh OUTDIR. Idempotent: whatever already exists is kept.
set -euo pipefail
out=${1:?usage: prepare-libformats.sh OUTDIR}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/deps-env.sh"
images=${TESSARINE_TESTIMAGES:-$DEPS_DIR/testimages}
stamp="$out/.libformats-v1"
[ -f "$stamp" ] && exit 0

for tool in djpeg cjpeg convert; do
    command -v "$tool" >/dev/null || { echo "prepare-libformats: $tool is missing" >&2; exit 1; }
done
mkdir -p "$out/png" "$out/tiff" "$out/gif" "$out/jpeg"

# produce OUTPUT COMMAND...: runs the command (which writes OUTPUT) unless OUTPUT exists; a tool that
# cannot decode a file leaves no reference, and the test then says which one is missing.
produce() {
    local target=$1
    shift
    [ -s "$target" ] && return 0
    "$@" 2>/dev/null || { rm -f "$target"; echo "prepare-libformats: no reference for $target" >&2; }
}

# PNG: the raw samples at 16 bits with alpha; the tests apply gamma and the black background.
for f in "$images"/png/*.png; do
    name=$(basename "$f" .png)
    produce "$out/png/$name.pam" convert "$f" -alpha set -depth 16 "$out/png/$name.pam" &
done
wait

# TIFF: the first page, 8 bits per sample with alpha.
for f in "$images"/tiff/*.tif "$images"/tiff/*.tiff; do
    name=$(basename "$f")
    name=${name%.*}
    # Its directory holds entries that name no tag, on which ImageMagick gives up, and tifftopnm reads
    # no YCbCr: its test checks the reader's decode without a reference.
    if [ "$name" = ojpeg_single_strip_no_rowsperstrip ]; then
        echo "prepare-libformats: no reference for $name.tiff: neither ImageMagick nor netpbm reads this old-style JPEG-in-TIFF; its test checks the reader's own decode instead" >&2
        continue
    fi
    produce "$out/tiff/$name.pam" convert "$f[0]" -alpha set -depth 8 "$out/tiff/$name.pam" &
done
wait

# GIF: the first image, and every frame composed (for the animated files).
for f in "$images"/gif/*.gif; do
    name=$(basename "$f" .gif)
    produce "$out/gif/$name.pam" convert "$f[0]" -alpha set -depth 8 "$out/gif/$name.pam"
    if [ ! -s "$out/gif/$name-frame-0.pam" ]; then
        convert "$f" -coalesce -alpha set -depth 8 +adjoin "$out/gif/$name-frame-%d.pam" 2>/dev/null || true
    fi
done

# JPEG: djpeg's decodes (integer DCT, the library's defaults, as the reader uses them).
j="$out/jpeg"
src="$images/jpeg/testorig.ppm"
produce "$j/progressive.jpg" cjpeg -quality 90 -progressive -outfile "$j/progressive.jpg" "$src"
produce "$j/grey.jpg" cjpeg -quality 90 -grayscale -outfile "$j/grey.jpg" "$src"
produce "$j/sample444.jpg" cjpeg -quality 90 -sample 1x1 -outfile "$j/sample444.jpg" "$src"
produce "$j/sample422.jpg" cjpeg -quality 90 -sample 2x1 -outfile "$j/sample422.jpg" "$src"
produce "$j/restart.jpg" cjpeg -quality 90 -restart 1 -outfile "$j/restart.jpg" "$src"
produce "$j/rgb.jpg" cjpeg -quality 90 -rgb -outfile "$j/rgb.jpg" "$src"
produce "$j/cmyk.jpg" convert "$src" -colorspace CMYK -quality 95 "$j/cmyk.jpg"
produce "$j/cmyk.pam" convert "$j/cmyk.jpg" -colorspace sRGB -alpha set -depth 8 "$j/cmyk.pam"
# A photograph-sized file for the scaled thumbnail decodes.
produce "$j/large.ppm" convert "$src" -filter box -resize 1600x1050! "$j/large.ppm"
produce "$j/large.jpg" cjpeg -quality 90 -outfile "$j/large.jpg" "$j/large.ppm"
rm -f "$j/large.ppm"
for f in "$images"/jpeg/testorig.jpg "$images"/jpeg/testimgint.jpg "$images"/jpeg/testimgari.jpg \
         "$j"/progressive.jpg "$j"/grey.jpg "$j"/sample444.jpg "$j"/sample422.jpg "$j"/restart.jpg \
         "$j"/rgb.jpg "$j"/large.jpg; do
    name=$(basename "$f" .jpg)
    produce "$j/$name.pnm" djpeg -pnm -outfile "$j/$name.pnm" "$f" &
done
wait
for scale in 2 4 8; do
    produce "$j/large-1_$scale.pnm" djpeg -pnm -scale "1/$scale" -outfile "$j/large-1_$scale.pnm" "$j/large.jpg"
done
# The quantised 8-bit decode: two-pass quantiser, Floyd-Steinberg dither, 256 colours.
produce "$j/testorig-256.bmp" djpeg -bmp -colors 256 -dither fs -outfile "$j/testorig-256.bmp" "$images/jpeg/testorig.jpg"
produce "$j/grey-256.bmp" djpeg -bmp -colors 256 -dither fs -outfile "$j/grey-256.bmp" "$j/grey.jpg"
# The writer's reference: cjpeg at the writer's defaults.
for q in 50 90; do
    produce "$j/vgl-q$q.jpg" cjpeg -quality "$q" -outfile "$j/vgl-q$q.jpg" "$images/jpeg/vgl_6548_0026a.bmp"
done

touch "$stamp"
